#pragma once

#include "clock/Dial.h"

#include <QImage>
#include <QTime>
#include <functional>
#include <memory>

class PaintBox;
class PaintRegionRecorder;
class QPainter;
class StaleDialArea;
class StagePopupMenu;
class WallClock;
struct StageSettings;

// The dial box on her window: owns the dial image, the rendering the settings choose and
// what the box shows each second. The two menu items that switch the rendering are its own.
class DialBox {
public:
    struct Hooks {
        // After each rebuild of the dial image, on the user-interface thread.
        std::function<void()> rebuilt;
        // After each paint of the box.
        std::function<void()> painted;
    };

    // design: the box's place on her in design pixels, her size at 100 % on a screen of
    // scale 1, which the dial is drawn in. The backdrop is what lies behind the dial: her
    // stage picture as her window shows it, at her ratio of device pixels to a design pixel,
    // opaque, or transparent outside her shape for a window with an alpha channel. The dial
    // is made at that ratio.
    DialBox(PaintBox& MojibanBox, QRect design, const QImage& backdrop, StageSettings& settings,
            const WallClock& clock, StagePopupMenu& menu, Hooks hooks);
    ~DialBox();
    DialBox(const DialBox&) = delete;
    DialBox& operator=(const DialBox&) = delete;

    // hour -1: the face alone. Only the image changes; the box shows it at the next paint.
    void composeDial(int hour, int minute);
    // Repaints the box at once with the seconds at that second.
    void showDial(int second);
    void MojibanBoxPaint(QPainter& painter);
    // Shows with the next second's refresh, until the clock's next rebuild.
    void DateTimePicker1Change(QTime time);
    // Nobody sees the dial while the screen is saved, so it does not paint; its first
    // paint afterwards is the sign that she is seen again.
    void setScreenSaved(bool saved);

    // After a move to a screen of another scale, or a change of her size: the dial made anew
    // at that ratio (device pixels to a design pixel) for the box as it now lies, showing
    // what it showed, over the backdrop given (a null one keeps the one it has).
    void setDeviceRatio(qreal ratio, const QImage& backdrop = QImage());

    // What the box shows now, at the dial's device pixel ratio.
    QImage screen() const;

private:
    void makeDial(qreal ratio);
    // A part of the dial in the box's logical pixels, every one it touches.
    QRect inBox(const QRect& design) const;
    // After a switch of the rendering: the result at once.
    void showNow();
    DialMode mode() const;

    PaintBox& box_;
    QRect design_;
    StageSettings& settings_;
    const WallClock& clock_;
    Hooks hooks_;
    QImage backdrop_;
    std::unique_ptr<Dial> dial_;
    // What the dial image shows, for a dial made anew.
    int hour_ = -1;
    int minute_ = -1;
    bool digitalFaceRead_ = false;
    std::unique_ptr<StaleDialArea> stale_;
    PaintRegionRecorder* paintRegion_ = nullptr;
    // The second that showDial paints; -1 when a paint comes from elsewhere.
    int showingSecond_ = -1;
};
