#pragma once

#include <QList>
#include <QRect>
#include <QRegion>

// The pixels of a width x height image for which covered(x, y) holds, as a region with one
// band per row.
template <typename Covered> QRegion pixelRegion(int width, int height, Covered covered) {
    QList<QRect> runs;
    for (int y = 0; y < height; ++y) {
        int start = -1;
        for (int x = 0; x <= width; ++x) {
            const bool in = x < width && covered(x, y);
            if (in && start < 0) {
                start = x;
            } else if (!in && start >= 0) {
                runs.append(QRect(start, y, x - start, 1));
                start = -1;
            }
        }
    }
    QRegion region;
    region.setRects(runs.constData(), int(runs.size()));
    return region;
}
