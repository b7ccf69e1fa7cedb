#include "stage/FigureLayout.h"

#include <QWidget>
#include <algorithm>

FigureLayout::FigureLayout(QWidget& window) {
    for (QWidget* part : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        parts_.push_back({part, part->geometry(), part->font().pixelSize()});
}

QRect FigureLayout::design(const QWidget& part) const {
    const auto found = std::find_if(parts_.begin(), parts_.end(),
                                    [&](const Part& p) { return p.widget == &part; });
    return found == parts_.end() ? part.geometry() : found->design;
}

void FigureLayout::apply(const FigureScale& scale) {
    for (const Part& part : parts_) {
        part.widget->setGeometry(scale.logical(part.design));
        // A font given in points keeps its size.
        if (part.fontPixels <= 0)
            continue;
        QFont font = part.widget->font();
        font.setPixelSize(std::max(1, qRound(part.fontPixels * scale.size)));
        part.widget->setFont(font);
    }
}
