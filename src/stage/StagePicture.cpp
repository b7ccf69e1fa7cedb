#include "stage/StagePicture.h"

#include "stage/AssetCatalogue.h"
#include "stage/StageOutline.h"
#include "stage/StageShape.h"

#include <QLabel>
#include <QPixmap>

void dressStage(QWidget& window, QLabel& Image1, const StageOutline& outline) {
    Image1.setAttribute(Qt::WA_TransparentForMouseEvents);
    QImage stage =
        AssetCatalogue::bitmap(QStringLiteral("Stage"), outline.ratio(), kBodyRegion, {0, 0});
    if (stage.isNull()) {
        // Without its picture she is still a clock: a white stand-in of the right size.
        stage = QImage(qRound(158 * outline.ratio()), qRound(452 * outline.ratio()),
                       QImage::Format_RGB32);
        stage.fill(Qt::white);
    }
    Image1.setPixmap(QPixmap::fromImage(outline.dressed(stage, {0, 0})));
    const QImage icon = AssetCatalogue::bitmap(QStringLiteral("MainIcon"));
    if (!icon.isNull())
        window.setWindowIcon(QPixmap::fromImage(icon));
}
