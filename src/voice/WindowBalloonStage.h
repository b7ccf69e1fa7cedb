#pragma once

#include "voice/BalloonStage.h"

#include <functional>

class MinimizeWatch;
class QWidget;

// The balloon's view of a top-level window: the stage window itself, or a plain window
// standing in for it.
class WindowBalloonStage : public BalloonStage {
public:
    WindowBalloonStage(QWidget& window, QRect mouthArea, MinimizeWatch& minimize,
                       std::function<void()> stopVoice, std::function<bool()> stayOnTop);

    QPoint stagePosition() const override;
    QSize stageClientSize() const override;
    QRect mouthArea() const override { return mouthArea_; }
    void hideStage() override;
    void showStage() override;
    bool stageIsActive() const override;
    void applyStageStacking(bool stayOnTop) override;
    bool appMinimized() const override;
    void minimizeApp() override;
    void restoreApp() override;
    void StopVoice() override;
    bool stayOnTop() const override;
    // The primary screen's when no screen holds the point.
    QRect screenHolding(QPoint point) const override;

private:
    QWidget& window_;
    QRect mouthArea_;
    MinimizeWatch& minimize_;
    std::function<void()> stopVoice_;
    std::function<bool()> stayOnTop_;
};
