#include "stage/CentreOver.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

void centreOver(QWidget& window, const QWidget& owner) {
    QRect place(QPoint(), window.size());
    place.moveCenter(owner.geometry().center());
    if (const QScreen* screen = owner.screen()) {
        const QRect screenArea = screen->availableGeometry();
        place.moveLeft(
            std::clamp(place.left(), screenArea.left(),
                       std::max(screenArea.left(), screenArea.right() - place.width() + 1)));
        place.moveTop(
            std::clamp(place.top(), screenArea.top(),
                       std::max(screenArea.top(), screenArea.bottom() - place.height() + 1)));
    }
    window.move(place.topLeft());
}
