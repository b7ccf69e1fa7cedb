#include "clock/DigitalDigits.h"

namespace {
constexpr int kColonGlyph = 11;
}

using GlyphList = AssetCatalogue::GlyphList;

DigitalDigits::DigitalDigits(DigitLayout layout, GlyphDrawer drawGlyph)
    : layout_(layout), drawGlyph_(std::move(drawGlyph)) {}

void DigitalDigits::drawDigitalTime(QPainter& painter, int x, int y, int hour, int minute) const {
    const int digit = layout_.digitAdvance;
    const int colon = layout_.colonAdvance;
    if (hour > 9)
        drawGlyph_(painter, GlyphList::DigiNumber, hour / 10, QPoint(x, y));
    drawGlyph_(painter, GlyphList::DigiNumber, hour % 10, QPoint(x + digit, y));
    // The minute tens, drawn after it, overlap the right half of the colon's cell.
    drawGlyph_(painter, GlyphList::DigiNumber, kColonGlyph, QPoint(x + 2 * digit, y));
    drawGlyph_(painter, GlyphList::DigiNumber, minute / 10, QPoint(x + 2 * digit + colon, y));
    drawGlyph_(painter, GlyphList::DigiNumber, minute % 10, QPoint(x + 3 * digit + colon, y));
}

void DigitalDigits::drawHourAndMinute(QPainter& painter, int hour, int minute,
                                      bool twelveHour) const {
    hour %= 24;
    minute %= 60;
    if (twelveHour) {
        drawGlyph_(painter, GlyphList::AmPm, hour / 12, layout_.amPm);
        hour %= 12;
    }
    drawDigitalTime(painter, layout_.hourRow.x(), layout_.hourRow.y(), hour, minute);
}

void DigitalDigits::drawSeconds(QPainter& painter, int second) const {
    const int s = second % 60;
    drawGlyph_(painter, GlyphList::DigiNumSmall, s / 10, layout_.seconds);
    drawGlyph_(painter, GlyphList::DigiNumSmall, s % 10,
               layout_.seconds + QPoint(layout_.smallDigitAdvance, 0));
}
