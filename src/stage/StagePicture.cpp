#include "stage/StagePicture.h"

#include "stage/AssetCatalogue.h"

#include <QLabel>
#include <QPixmap>

void dressStage(QWidget& window, QLabel& Image1) {
    Image1.setAttribute(Qt::WA_TransparentForMouseEvents);
    QImage stage = AssetCatalogue::bitmap(QStringLiteral("Stage"));
    if (stage.isNull()) {
        // Without its picture she is still a clock: a white stand-in of the right size.
        stage = QImage(158, 452, QImage::Format_RGB32);
        stage.fill(Qt::white);
    }
    Image1.setPixmap(QPixmap::fromImage(stage));
    const QImage icon = AssetCatalogue::bitmap(QStringLiteral("MainIcon"));
    if (!icon.isNull())
        window.setWindowIcon(QPixmap::fromImage(icon));
}
