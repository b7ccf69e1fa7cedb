#include "voice/WindowBalloonStage.h"

#include "stage/X11Place.h"
#include "voice/MinimizeWatch.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

WindowBalloonStage::WindowBalloonStage(QWidget& window, const QWidget& mouth,
                                       MinimizeWatch& minimize, CompositorWatch* compositor)
    : window_(window), mouth_(mouth), minimize_(minimize), compositor_(compositor) {}

QPoint WindowBalloonStage::stagePosition() const {
    // Asked of the X server: the toolkit hears nothing while a window manager moves her.
    return X11Place::windowPosition(window_).value_or(window_.pos());
}

QRect WindowBalloonStage::mouthArea() const {
    return mouth_.geometry();
}

QSize WindowBalloonStage::stageClientSize() const {
    return window_.size();
}

void WindowBalloonStage::showStage() {
    X11Place::showAgain(window_);
    window_.raise();
}

bool WindowBalloonStage::stageIsActive() const {
    return window_.isActiveWindow();
}

bool WindowBalloonStage::appMinimized() const {
    return minimize_.appMinimized();
}

void WindowBalloonStage::minimizeApp() {
    minimize_.minimizeApp();
}

void WindowBalloonStage::restoreApp() {
    minimize_.restoreApp();
}

QRect WindowBalloonStage::screenHolding(QPoint point) const {
    const QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}
