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
// that image with the seconds drawn over it each second.
class Dial {
public:
    struct Pictures {
        QImage stage;       // the whole stage picture; the dial lies over part of it
        QImage analogFace;  // masked: transparent where the window's shape cuts it off
        QImage digitalFace; // likewise
    };

    Dial(QRect box, Pictures pictures, GlyphDrawer drawGlyph, DigitLayout layout);

    // hour -1: the face only, without hands or digits.
    void compose(int hour, int minute, DialMode mode);
    void drawSeconds(QImage& screen, int second, DialMode mode) const;
    // What the dial box shows at this second.
    QImage frameAt(int second, DialMode mode) const;
    // Every pixel that drawSeconds may change lies inside.
    QRect secondsArea(int second, DialMode mode) const;

    const DialGeometry& geometry() const { return geometry_; }
    const DigitalDigits& digits() const { return digits_; }

    QImage dialImage;
    // 0: the analog face, 1: the digital face.
    std::array<QImage, 2> ImageList1;

private:
    QPoint boxPosition_;
    QImage stage_;
    DialGeometry geometry_;
    DigitalDigits digits_;
};
