// Her pictures over her parts at sizes that round a part's place.
#include "stage/AssetCatalogue.h"
#include "stage/StageFigure.h"
#include "stage/StageOutline.h"
#include "support/fixtures/TestApplication.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace {

// Half her size on a screen of scale 2: her face frame's place, 7.5 logical pixels in,
// rounds to 8, a device pixel past where her face begins.
TEST(StageFigure, AFacePictureKeepsItsPlaceOnHerWhereHerSizeRoundsItsFrame) {
    testApplication();
    QWidget window;
    QLabel image(&window);
    image.setGeometry(0, 0, 640, 480);
    QWidget frame(&window);
    frame.setGeometry(15, 9, 128, 128);
    StageFigure figure(window, image, 100, [](qreal) {});
    figure.redraw({0.5, 2});
    ASSERT_EQ(frame.pos(), QPoint(8, 5));

    const QImage dressed = figure.dressed(QStringLiteral("Face1"), frame);
    const QImage face = AssetCatalogue::bitmap(QStringLiteral("Face1"));
    ASSERT_EQ(dressed.size(), face.size());
    const QRegion inside = figure.outline().shape()->translated(-16, -10) & QRegion(dressed.rect());
    int wrong = 0;
    for (const QRect& band : inside)
        for (int y = band.top(); y <= band.bottom(); ++y)
            for (int x = band.left(); x <= band.right(); ++x) {
                const QRgb shown = dressed.pixel(x, y);
                // Her face a device pixel up and left of the frame; her stage picture in the
                // frame's last row and column, and nowhere anything see-through.
                const bool last = x + 1 == dressed.width() || y + 1 == dressed.height();
                wrong += qAlpha(shown) != 255 || (!last && shown != face.pixel(x + 1, y + 1));
            }
    EXPECT_EQ(wrong, 0);
}

} // namespace
