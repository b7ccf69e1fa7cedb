#pragma once

#include "stage/FigureScale.h"

#include <QImage>
#include <QPoint>
#include <QRegion>
#include <optional>

class QWidget;

// Her window's outline at one size and device pixel ratio, in device pixels: the shape that shows
// her and takes the mouse, and the faint anti-aliased fringe around it, which only a compositor can
// show, blended with the desktop. Without a compositor the shape alone shows, so that her pixels
// there are exactly her pictures'.
class StageOutline {
public:
    // From the program's own shapes and edge picture for that scale.
    // The fringe, which only a compositor shows, is left out without one: reading its
    // picture is a good part of her start.
    explicit StageOutline(FigureScale scale, bool withFringe = true);
    // edge: the fringe's picture over the whole window, transparent inside the shape.
    StageOutline(FigureScale scale, std::optional<QRegion> shape, QImage edge);

    const FigureScale& scale() const { return scale_; }
    // Device pixels to a design pixel.
    qreal ratio() const { return scale_.ratio(); }
    // None when her silhouette is missing: her window keeps its rectangle.
    const std::optional<QRegion>& shape() const { return shape_; }
    const QRegion& fringe() const { return fringe_; }
    bool withFringe() const { return withFringe_; }
    // The logical pixels that show anything, for the toolkit's mask; none without a shape.
    std::optional<QRegion> paintArea() const;

    // A picture of hers at the outline's ratio for the place `deviceAt` (device pixels) of her
    // window: hers inside the shape, the fringe outside it, so that it may be painted in place
    // of whatever lies beneath. It paints at the screen's device pixel ratio.
    QImage dressed(const QImage& picture, QPoint deviceAt) const;

    // Sets the native shapes of her window: the fringe shows only while a compositor runs.
    void cut(QWidget& window, bool compositing) const;

private:
    FigureScale scale_;
    std::optional<QRegion> shape_;
    QImage edge_;
    QRegion fringe_;
    bool withFringe_ = true;
};
