#include "stage/StageFigure.h"
#include "stage/AssetCatalogue.h"
#include "stage/StageOutline.h"
#include "support/fixtures/TestApplication.h"

#include <QLabel>
#include <gtest/gtest.h>

// Half her size on a screen of scale 2 rounds her face frame's place, 7.5 logical pixels in,
// to 8: a device pixel past where her face begins. Her face keeps its place, her stage
// picture fills the frame's last row and column, and nothing inside her is see-through.
TEST(StageFigure, AFaceKeepsItsPlaceOnHerWhereHerSizeRoundsItsFrame) {
    testApplication();
    QWidget window;
    QLabel image(&window);
    QWidget frame(&window);
    frame.setGeometry(15, 9, 128, 128);
    StageFigure figure(window, image, 100, [](qreal) {});
    figure.redraw({0.5, 2});
    ASSERT_EQ(frame.pos(), QPoint(8, 5));
    const QImage dressed = figure.dressed(QStringLiteral("Face1"), frame);
    const QImage face = AssetCatalogue::bitmap(QStringLiteral("Face1"));
    ASSERT_EQ(dressed.size(), face.size());
    int wrong = 0;
    for (const QRect& band : figure.outline().shape()->translated(-16, -10) & dressed.rect())
        for (int y = band.top(); y <= band.bottom(); ++y)
            for (int x = band.left(); x <= band.right(); ++x) {
                const bool last = x + 1 == dressed.width() || y + 1 == dressed.height();
                wrong += qAlpha(dressed.pixel(x, y)) != 255 ||
                         (!last && dressed.pixel(x, y) != face.pixel(x + 1, y + 1));
            }
    EXPECT_EQ(wrong, 0);
}
