#include "stage/StageShape.h"

#include "stage/AssetCatalogue.h"

#include <QWidget>

std::optional<QRegion> loadRegion(int id) {
    return AssetCatalogue::region(id);
}

std::optional<QRegion> composeWindowRegion(const std::optional<QRegion>& body,
                                           const std::optional<QRegion>& dial, QPoint dialAt) {
    if (!body)
        return std::nullopt;
    if (!dial)
        return body;
    return *body | dial->translated(dialAt);
}

void shapeStageWindow(QWidget& window, QSize picture, const std::optional<QRegion>& region) {
    // Fixed, so that her size hints give equal minimum and maximum: tiling window managers
    // float her then rather than stretch her into a tile.
    window.setFixedSize(picture);
    if (!region || region->isEmpty()) {
        window.clearMask();
        return;
    }
    window.setMask(*region);
    const QRect box = region->boundingRect();
    window.setFixedSize(box.x() + box.width(), box.y() + box.height());
}
