#pragma once

#include <QImage>
#include <QPainter>

// A painter on a dial image in its logical pixels at any device pixel ratio. QPainter takes a
// ratio below 1, which her smaller sizes give, for 1.
class ImagePainter : public QPainter {
public:
    explicit ImagePainter(QImage& image) : QPainter(&image) {
        const qreal ratio = image.devicePixelRatio();
        if (ratio < 1)
            scale(ratio, ratio);
    }
};
