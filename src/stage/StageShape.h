#pragma once

#include <QPoint>
#include <QRegion>
#include <QSize>
#include <optional>

class QWidget;

// Her silhouette's number among the shape regions, which cuts her pictures as well.
inline constexpr int kBodyRegion = 1;

// Where the dial's outline sits on her: the top-left of the dial box.
inline constexpr QPoint kDialOrigin{80, 256};

// A shape region from the program's own assets by number, or none.
std::optional<QRegion> loadRegion(int id);

// Her silhouette joined with the dial's outline moved to the dial's place. Without the
// silhouette there is no shape at all; without the dial she keeps her silhouette alone.
std::optional<QRegion> composeWindowRegion(const std::optional<QRegion>& body,
                                           const std::optional<QRegion>& dial,
                                           QPoint dialAt = kDialOrigin);

// Sizes the window to the picture, cuts it to the region and then sizes it to reach the
// region's right and bottom edges; the window's origin stays at the picture's origin. With
// no region the window keeps the picture's rectangle.
void shapeStageWindow(QWidget& window, QSize picture, const std::optional<QRegion>& region);
