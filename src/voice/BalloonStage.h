#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class CompositorWatch;

// What the speech balloon needs of the stage window it speaks for.
class BalloonStage {
public:
    virtual ~BalloonStage() = default;

    // The stage window's top-left on the desktop and its client size.
    virtual QPoint stagePosition() const = 0;
    virtual QSize stageClientSize() const = 0;
    // Where her mouth is, in the stage window's coordinates.
    virtual QRect mouthArea() const = 0;
    // Brings the stage window back in front as it was, and shows it if it does not show.
    virtual void showStage() = 0;
    virtual bool stageIsActive() const = 0;

    // The program's minimised state, and minimising and restoring it.
    virtual bool appMinimized() const = 0;
    virtual void minimizeApp() = 0;
    virtual void restoreApp() = 0;

    // The geometry of the screen that holds a point of the desktop.
    virtual QRect screenHolding(QPoint point) const = 0;

    // The program's one watch on the compositing manager; null counts as none running.
    virtual CompositorWatch* compositor() const = 0;
};
