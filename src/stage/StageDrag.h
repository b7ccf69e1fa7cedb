#pragma once

#include <QObject>
#include <QPoint>
#include <functional>

class QWidget;

// Moves the window while the primary button is held on it, and reports every press and
// every move of the drag as a touch. The window manager moves the window where it offers
// to; otherwise the window follows the pointer itself. Presses on child controls are
// theirs and never reach this.
class StageDrag : public QObject {
    Q_OBJECT
public:
    struct Pointer {
        // Hands the move to the window manager from the pointer at a screen position; false
        // when there is none to take it.
        std::function<bool(QPoint from)> startSystemMove;
        // Whether the primary button is down at this moment, for the moves that a window
        // manager makes while it holds the pointer.
        std::function<bool()> primaryHeld;
        // Takes back a move handed over whose release came to the window instead.
        std::function<void()> cancelSystemMove;
    };
    // The X server's pointer.
    static Pointer x11Pointer(QWidget& window);

    StageDrag(QWidget& window, std::function<void()> touched, Pointer pointer);

    bool dragging() const { return mode_ != Mode::Idle; }

signals:
    // She was moved by the user's hand, by herself or by the window manager for her.
    void movedByHand();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Mode { Idle, Pressed, Ours, WindowManagers };

    QWidget& window_;
    std::function<void()> touched_;
    Pointer pointer_;
    Mode mode_ = Mode::Idle;
    QPoint grabOffset_;
};
