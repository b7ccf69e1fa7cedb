#include "voice/MinimizeWatch.h"

#include <QEvent>
#include <QWidget>

MinimizeWatch::MinimizeWatch(QWidget& window) : window_(window) {
    window_.installEventFilter(this);
}

void MinimizeWatch::minimizeApp() {
    window_.setWindowState(window_.windowState() | Qt::WindowMinimized);
}

void MinimizeWatch::restoreApp() {
    window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
    window_.show();
}

bool MinimizeWatch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::WindowStateChange)
        appMinimized_ = window_.windowState().testFlag(Qt::WindowMinimized);
    return QObject::eventFilter(watched, event);
}
