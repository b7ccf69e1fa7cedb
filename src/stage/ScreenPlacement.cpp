#include "stage/ScreenPlacement.h"

#include <QRegion>
#include <algorithm>
#include <limits>

namespace {

qint64 overlap(const QRect& a, const QRect& b) {
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

// Squared distance between the nearest points of two rectangles that do not overlap.
qint64 gapSquared(const QRect& a, const QRect& b) {
    const qint64 dx =
        std::max({qint64(0), qint64(b.left()) - a.right(), qint64(a.left()) - b.right()});
    const qint64 dy =
        std::max({qint64(0), qint64(b.top()) - a.bottom(), qint64(a.top()) - b.bottom()});
    return dx * dx + dy * dy;
}

// From low to high, at least low when the window is longer than the span.
int clampInto(int start, int length, int low, int spanLength) {
    return std::max(low, std::min(start, low + spanLength - length));
}

} // namespace

QPoint visiblePlace(const QRect& window, const QList<QRect>& availableAreas) {
    QRegion all;
    for (const QRect& area : availableAreas)
        all += area;
    if (availableAreas.isEmpty() || QRegion(window).subtracted(all).isEmpty())
        return window.topLeft();

    const QRect* nearest = nullptr;
    qint64 bestOverlap = 0;
    qint64 bestGap = std::numeric_limits<qint64>::max();
    for (const QRect& area : availableAreas) {
        if (area.isEmpty())
            continue;
        const qint64 shared = overlap(window, area);
        const qint64 gap = shared > 0 ? 0 : gapSquared(window, area);
        if (!nearest || shared > bestOverlap ||
            (bestOverlap == 0 && shared == 0 && gap < bestGap)) {
            nearest = &area;
            bestOverlap = shared;
            bestGap = gap;
        }
    }
    if (!nearest)
        return window.topLeft();
    return {clampInto(window.left(), window.width(), nearest->left(), nearest->width()),
            clampInto(window.top(), window.height(), nearest->top(), nearest->height())};
}
