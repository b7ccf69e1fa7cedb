#pragma once

#include <QRect>
#include <QtGlobal>

// How large her figure is drawn. Her parts are laid out in design pixels, her size at 100 %
// on a screen of scale 1; a design pixel takes `size` logical pixels of her window and
// ratio() device pixels of the screen.
struct FigureScale {
    qreal size = 1;
    qreal device = 1;

    qreal ratio() const { return size * device; }
    // A rectangle of design pixels on her window: its edges rounded, not its size, so that
    // parts that meet at one size meet at every size.
    QRect logical(const QRect& design) const {
        const int left = qRound(design.x() * size);
        const int top = qRound(design.y() * size);
        return QRect(left, top, qRound((design.x() + design.width()) * size) - left,
                     qRound((design.y() + design.height()) * size) - top);
    }
};
