#include "stage/RegionData.h"

#include <QRegion>

QRegion RegionData::toRegion() const {
    // Adding the bands in order keeps QRegion on its cheap append path.
    QRegion region;
    for (const QRect& r : rectangles)
        region += r;
    return region;
}
