#include "stage/StackingStyle.h"

#include <QWidget>

void applyStackingStyle(QWidget& window, bool stayOnTop) {
    if (window.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == stayOnTop)
        return;
    const bool wasShowing = window.isVisible();
    const QPoint place = window.pos();
    window.setWindowFlag(Qt::WindowStaysOnTopHint, stayOnTop);
    if (wasShowing) {
        window.move(place);
        window.show();
    }
}
