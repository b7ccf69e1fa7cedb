#pragma once

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QObject>
#include <functional>

class QWidget;

// Dresses every native window the toolkit makes for one of her top-level windows, the
// first and each new one that a change of stacking or of screen brings, before it maps:
// its role, no shadow, every workspace, off the taskbar when asked, and its shape. The
// window manager reads them as it takes the window; the toolkit carries none of them over.
// The frame a window manager puts it in is marked for no shadow as well.
class WindowDresser : public QObject, public QAbstractNativeEventFilter {
public:
    struct Dress {
        QByteArray role;
        bool offTaskbar = false;
        // Cuts the native window's shape.
        std::function<void()> shape;
    };
    // Lives as long as the window, as its child.
    WindowDresser(QWidget& window, Dress dress);
    ~WindowDresser() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void dress();

    QWidget& window_;
    Dress dress_;
};
