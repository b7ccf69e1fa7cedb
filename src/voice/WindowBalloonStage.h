#pragma once

#include "voice/BalloonStage.h"

class MinimizeWatch;
class QWidget;

// The balloon's view of a top-level window: the stage window itself, or a plain window
// standing in for it.
class WindowBalloonStage : public BalloonStage {
public:
    // mouth: the layout guide over her mouth, wherever her size puts it.
    WindowBalloonStage(QWidget& window, const QWidget& mouth, MinimizeWatch& minimize,
                       CompositorWatch* compositor = nullptr);

    QPoint stagePosition() const override;
    QSize stageClientSize() const override;
    QRect mouthArea() const override;
    void showStage() override;
    bool stageIsActive() const override;
    bool appMinimized() const override;
    void minimizeApp() override;
    void restoreApp() override;
    // The primary screen's when no screen holds the point.
    QRect screenHolding(QPoint point) const override;
    CompositorWatch* compositor() const override { return compositor_; }

private:
    QWidget& window_;
    const QWidget& mouth_;
    MinimizeWatch& minimize_;
    CompositorWatch* compositor_;
};
