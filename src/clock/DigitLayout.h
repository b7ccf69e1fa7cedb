#pragma once

#include <QPoint>
#include <QSize>

// Where the digital display's glyphs go, worked out once from the glyph sizes and the dial
// centre: the hour row centred on the dial, the seconds flush with the minutes' right edge
// below them, AM/PM at the left with its bottom level with the seconds'.
struct DigitLayout {
    int digitAdvance = 0;
    int colonAdvance = 0;
    int smallDigitAdvance = 0;
    QPoint hourRow;
    QPoint seconds;
    QSize secondsSize; // both small digits
    QPoint amPm;

    int hourTensLeft() const { return hourRow.x(); }
    int hourUnitsLeft() const { return hourRow.x() + digitAdvance; }
    int colonLeft() const { return hourRow.x() + 2 * digitAdvance; }
    int minuteTensLeft() const { return hourRow.x() + 2 * digitAdvance + colonAdvance; }
    int minuteUnitsLeft() const { return hourRow.x() + 3 * digitAdvance + colonAdvance; }

    static DigitLayout compute(QSize digit, QSize smallDigit, QSize amPm, QPoint centre);
};
