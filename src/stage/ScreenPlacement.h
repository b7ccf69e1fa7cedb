#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// Where a window stands so that it can be seen, given the screens' available areas (the
// screens less the desktop's panels): where it stands when those areas hold it wholly,
// together if it spans two screens side by side; otherwise moved by as little as it takes
// to lie wholly on the nearest area, the one it overlaps most or, overlapping none, the one
// least far away. A window larger than that area keeps its top left corner on it. Without
// any area it stays where it stands.
QPoint visiblePlace(const QRect& window, const QList<QRect>& availableAreas);
