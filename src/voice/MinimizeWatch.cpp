#include "voice/MinimizeWatch.h"

#include <QEvent>
#include <QWidget>

MinimizeWatch::MinimizeWatch(QWidget& window) : window_(window) {
    window_.installEventFilter(this);
}

void MinimizeWatch::AppMinimize() {
    AppMinimized = true;
}

void MinimizeWatch::AppRestore() {
    AppMinimized = false;
}

void MinimizeWatch::minimizeApp() {
    window_.setWindowState(window_.windowState() | Qt::WindowMinimized);
}

void MinimizeWatch::restoreApp() {
    window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
    window_.show();
}

bool MinimizeWatch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::WindowStateChange) {
        const bool minimized = window_.windowState().testFlag(Qt::WindowMinimized);
        if (minimized && !AppMinimized)
            AppMinimize();
        else if (!minimized && AppMinimized)
            AppRestore();
    }
    return QObject::eventFilter(watched, event);
}
