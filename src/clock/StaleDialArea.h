#pragma once

#include <QRect>
#include <QRegion>

// Where the dial on screen may differ from the dial image: the seconds drawn over it, or
// all of it once the image has been rebuilt. Each second's refresh repaints only that and
// the new seconds, which keeps the picture sent to the display small. Box coordinates.
class StaleDialArea {
public:
    explicit StaleDialArea(QRect box) : box_(box), stale_(box) {}

    void imageRebuilt() { stale_ = box_; }
    // What a refresh that draws the seconds into secondsArea must repaint.
    QRegion refreshFor(QRect secondsArea) const { return stale_ | secondsArea; }
    // A paint of region with the seconds drawn into secondsArea.
    void painted(const QRegion& region, QRect secondsArea) {
        stale_ = (stale_ - region) | (region & secondsArea);
    }
    const QRegion& stale() const { return stale_; }

private:
    QRect box_;
    QRegion stale_;
};
