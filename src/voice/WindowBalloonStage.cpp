#include "voice/WindowBalloonStage.h"

#include "stage/StackingStyle.h"
#include "voice/MinimizeWatch.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

WindowBalloonStage::WindowBalloonStage(QWidget& window, QRect mouthArea, MinimizeWatch& minimize,
                                       std::function<void()> stopVoice,
                                       std::function<bool()> stayOnTop)
    : window_(window), mouthArea_(mouthArea), minimize_(minimize), stopVoice_(std::move(stopVoice)),
      stayOnTop_(std::move(stayOnTop)) {}

QPoint WindowBalloonStage::stagePosition() const {
    return window_.pos();
}

QSize WindowBalloonStage::stageClientSize() const {
    return window_.size();
}

void WindowBalloonStage::hideStage() {
    window_.hide();
}

void WindowBalloonStage::showStage() {
    window_.show();
    window_.raise();
}

bool WindowBalloonStage::stageIsActive() const {
    return window_.isActiveWindow();
}

void WindowBalloonStage::applyStageStacking(bool stayOnTop) {
    applyStackingStyle(window_, stayOnTop);
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

void WindowBalloonStage::StopVoice() {
    if (stopVoice_)
        stopVoice_();
}

bool WindowBalloonStage::stayOnTop() const {
    return stayOnTop_ && stayOnTop_();
}

QRect WindowBalloonStage::screenHolding(QPoint point) const {
    const QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}
