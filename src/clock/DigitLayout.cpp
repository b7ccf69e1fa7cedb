#include "clock/DigitLayout.h"

DigitLayout DigitLayout::compute(QSize digit, QSize smallDigit, QSize amPmSign, QPoint centre) {
    DigitLayout layout;
    layout.digitAdvance = digit.width();
    layout.colonAdvance = layout.digitAdvance / 2;
    layout.smallDigitAdvance = smallDigit.width();
    const int x0 = centre.x() - 2 * layout.digitAdvance - layout.colonAdvance / 2;
    const int y0 = centre.y() - (digit.height() + smallDigit.height()) / 2;
    layout.hourRow = QPoint(x0, y0);
    layout.seconds =
        QPoint(x0 + 4 * layout.digitAdvance + layout.colonAdvance - 2 * layout.smallDigitAdvance,
               y0 + digit.height());
    layout.secondsSize = QSize(2 * layout.smallDigitAdvance, smallDigit.height());
    layout.amPm = QPoint(x0, layout.seconds.y() + smallDigit.height() - amPmSign.height());
    return layout;
}
