#include "voice/MinimizeWatch.h"

#include "stage/X11Place.h"

#include <QApplication>
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

void MinimizeWatch::comeForward() {
    // A window manager may have let her go unmapped.
    X11Place::showAgain(window_);
    restoreApp();
    window_.raise();
    window_.activateWindow();
    // A question or a settings dialog of hers stays in front of her.
    if (QWidget* dialog = QApplication::activeModalWidget(); dialog && dialog != &window_) {
        dialog->setWindowState(dialog->windowState() & ~Qt::WindowMinimized);
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    }
}

bool MinimizeWatch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::WindowStateChange)
        appMinimized_ = window_.windowState().testFlag(Qt::WindowMinimized);
    return QObject::eventFilter(watched, event);
}
