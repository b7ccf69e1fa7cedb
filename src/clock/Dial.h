#pragma once

#include "clock/DialGeometry.h"
#include "clock/DigitalDigits.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <array>

// Which rendering the dial shows.
struct DialMode {
    bool analog = true;
    bool twelveHour = false;
};

// The dial in two layers: dialImage, rebuilt when the hour or minute to show changes (the
// stage picture behind the dial, the face, the hands or digits), and the screen, which is
// that image with the seconds drawn over it each second. Both are made at the device pixel
// ratio of the screen she is on, and paint at the box's logical size.
class Dial {
public:
    struct Pictures {
        // The whole stage picture, the dial lying over part of it: opaque, or transparent
        // outside her window's shape, as her window has an alpha channel then.
        QImage stage;
        QImage analogFace;  // masked: transparent where the window's shape cuts it off
        QImage digitalFace; // likewise
    };

    // The pictures are best at that ratio (their device pixel ratio); others are scaled.
    Dial(QRect box, Pictures pictures, GlyphDrawer drawGlyph, DigitLayout layout, qreal ratio = 1);

    // hour -1: the face only, without hands or digits.
    void compose(int hour, int minute, DialMode mode);
    void drawSeconds(QImage& screen, int second, DialMode mode) const;
    // What the dial box shows at this second.
    QImage frameAt(int second, DialMode mode) const;
    // Every pixel that drawSeconds may change lies inside; in the box's logical pixels.
    QRect secondsArea(int second, DialMode mode) const;

    const DialGeometry& geometry() const { return geometry_; }
    const DigitalDigits& digits() const { return digits_; }
    qreal ratio() const { return dialImage.devicePixelRatio(); }

    // Format_ARGB32_Premultiplied, at the box's size times the ratio.
    QImage dialImage;
    // 0: the analog face, 1: the digital face.
    std::array<QImage, 2> ImageList1;

private:
    // The part of the stage picture under the box, at the dial's ratio.
    QImage backdrop_;
    DialGeometry geometry_;
    DigitalDigits digits_;
};
