#pragma once

#include "clock/DigitLayout.h"
#include "stage/AssetCatalogue.h"

#include <QPainter>
#include <functional>

// Draws one masked glyph of a list at a point; only the glyph's own pixels.
using GlyphDrawer = std::function<void(QPainter&, AssetCatalogue::GlyphList, int, QPoint)>;

// The digital rendering: seven-segment glyphs over the liquid-crystal face, whose ghost
// segments stay visible wherever no glyph is drawn.
class DigitalDigits {
public:
    DigitalDigits(DigitLayout layout, GlyphDrawer drawGlyph);

    // The hour without a leading zero, the colon, the minute always with two digits.
    void drawDigitalTime(QPainter& painter, int x, int y, int hour, int minute) const;
    // On the 12-hour clock midnight and noon show as 0, with AM or PM beside.
    void drawHourAndMinute(QPainter& painter, int hour, int minute, bool twelveHour) const;
    void drawSeconds(QPainter& painter, int second) const;

    const DigitLayout& layout() const { return layout_; }

private:
    DigitLayout layout_;
    GlyphDrawer drawGlyph_;
};
