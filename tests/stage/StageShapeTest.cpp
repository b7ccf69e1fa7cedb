// Her outline from the two shape regions, and the window sized by it.
#include "stage/StageShape.h"
#include "stage/AssetCatalogue.h"
#include "support/fixtures/TestApplication.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {
const QRegion kBody = QRegion(20, 0, 100, 200) | QRegion(0, 200, 158, 252);
const QRegion kDial = QRegion(4, 0, 120, 128) | QRegion(0, 4, 128, 120);

TEST(ComposeWindowRegion, JoinsTheSilhouetteWithTheDialAtItsPlace) {
    const auto region = composeWindowRegion(kBody, kDial);
    ASSERT_TRUE(region.has_value());
    EXPECT_EQ(*region, kBody | kDial.translated(80, 256));
    EXPECT_TRUE(region->contains(QPoint(80 + 127, 256 + 64)));
    EXPECT_FALSE(region->contains(QPoint(80 + 127, 256))) << "the dial's rounded corner is a hole";
    EXPECT_FALSE(region->contains(QPoint(5, 5)));
}

TEST(ComposeWindowRegion, WithoutTheSilhouetteThereIsNoShapeAndWithoutTheDialOnlyHers) {
    EXPECT_FALSE(composeWindowRegion(std::nullopt, kDial).has_value());
    EXPECT_FALSE(composeWindowRegion(std::nullopt, std::nullopt).has_value());
    EXPECT_EQ(composeWindowRegion(kBody, std::nullopt), std::optional<QRegion>(kBody));
}

TEST(ComposeWindowRegion, TheProgramsOwnShapesMakeAWindowOf208By452) {
    const auto body = loadRegion(1);
    const auto dial = loadRegion(2);
    if (!body || !dial)
        GTEST_SKIP() << "the shape regions are not built into this program";
    const auto region = composeWindowRegion(body, dial);
    ASSERT_TRUE(region.has_value());
    const QRect box = region->boundingRect();
    EXPECT_EQ(box.x() + box.width(), 208);
    EXPECT_EQ(box.y() + box.height(), 452);
}

class ShapeStageWindow : public ::testing::Test {
protected:
    void SetUp() override { testApplication(); }
    QApplication& app = testApplication();
    QWidget window{nullptr, Qt::Window | Qt::FramelessWindowHint};
};

TEST_F(ShapeStageWindow, SizesToTheRegionsRightAndBottomNotItsWidthAndHeight) {
    // A region that starts away from the origin: the window still begins at the origin.
    const QRegion region = QRegion(10, 6, 40, 30) | QRegion(30, 20, 170, 432);
    window.move(100, 50);
    shapeStageWindow(window, QSize(158, 452), region);
    EXPECT_EQ(window.size(), QSize(200, 452));
    // Fixed in her size hints, so that tiling window managers float her.
    EXPECT_EQ(window.minimumSize(), QSize(200, 452));
    EXPECT_EQ(window.maximumSize(), QSize(200, 452));
    EXPECT_EQ(window.pos(), QPoint(100, 50));
    EXPECT_EQ(window.mask(), region);
}

TEST_F(ShapeStageWindow, WithoutARegionKeepsThePicturesRectangleAndDropsAnEarlierShape) {
    shapeStageWindow(window, QSize(158, 452), QRegion(0, 0, 10, 10));
    ASSERT_FALSE(window.mask().isEmpty());
    shapeStageWindow(window, QSize(158, 452), std::nullopt);
    EXPECT_EQ(window.size(), QSize(158, 452));
    EXPECT_TRUE(window.mask().isEmpty());
    // An empty shape would make her vanish; it counts as none.
    shapeStageWindow(window, QSize(158, 452), QRegion());
    EXPECT_EQ(window.size(), QSize(158, 452));
    EXPECT_TRUE(window.mask().isEmpty());
}
} // namespace
