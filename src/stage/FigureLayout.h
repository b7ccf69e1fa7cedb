#pragma once

#include "stage/FigureScale.h"

#include <QRect>
#include <utility>
#include <vector>

class QWidget;

// Her window's parts where her form puts them, in design pixels, laid out again at each
// size of hers: her picture, her face, the dial, her mouth and the debug controls, with the
// controls' texts.
class FigureLayout {
public:
    // The window's parts as her form left them.
    explicit FigureLayout(QWidget& window);

    // A part's place on her in design pixels; its own geometry when it is none of her parts.
    QRect design(const QWidget& part) const;
    void apply(const FigureScale& scale);

private:
    struct Part {
        QWidget* widget;
        QRect design;
        int fontPixels;
    };
    std::vector<Part> parts_;
};
