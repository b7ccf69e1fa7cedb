#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>
#include <memory>

class QWidget;
class ScreenWatch;
class StageDrag;

// Where her window stands: at the place she is stored at, or, while that place cannot be
// seen whole on the screens there are, wholly on the nearest one. Followed again whenever
// screens come or go and whenever her size changes. The stored place changes only when the user
// moves her: a window manager that offsets her as it maps her, or moves her while the screen is
// small, is put right, and never changes what is stored.
class StagePlacement : public QObject {
public:
    StagePlacement(QWidget& window, StageDrag& drag);
    ~StagePlacement() override;

    // Puts her at the place wanted, or on the nearest screen when it cannot be seen there.
    void standAt(QPoint wanted);
    // Where the close stores her: the place last wanted, by the settings or by a drag.
    QPoint storedPlace() const { return wanted_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void stand();
    void movedByHand();
    // For a while from now, the window manager's next move away from her place is put right.
    void expectWindowManagersMove();

    QWidget& window_;
    StageDrag& drag_;
    bool placed_ = false;
    QPoint wanted_;
    // Where she was last put, and whether a move of the window manager's away from it is put
    // right: once, soon after her show or a change of screens.
    QPoint standing_;
    bool putRight_ = false;
    QTimer putRightFor_;
    std::unique_ptr<ScreenWatch> watch_;
};
