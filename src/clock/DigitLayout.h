#pragma once

#include <QPoint>
#include <QSize>

// Where the digital display's glyphs go, worked out once from the glyph sizes and the dial
// centre: the hour row centred on the dial, the seconds flush with the minutes' right edge
// below them, AM/PM at the left with its bottom level with the seconds'.
struct DigitLayout {
    int Wd = 0; // digit advance
    int Wc = 0; // colon advance
    int Ws = 0; // small digit advance
    QPoint hourRow;
    QPoint seconds;
    QSize secondsSize; // both small digits
    QPoint amPm;

    int hourTensLeft() const { return hourRow.x(); }
    int hourUnitsLeft() const { return hourRow.x() + Wd; }
    int colonLeft() const { return hourRow.x() + 2 * Wd; }
    int minuteTensLeft() const { return hourRow.x() + 2 * Wd + Wc; }
    int minuteUnitsLeft() const { return hourRow.x() + 3 * Wd + Wc; }

    static DigitLayout compute(QSize digit, QSize smallDigit, QSize amPm, QPoint centre);
};
