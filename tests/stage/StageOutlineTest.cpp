// Her outline at each of her sizes and device pixel ratios, and her pictures dressed for it.
#include "stage/StageOutline.h"
#include "stage/AssetCatalogue.h"
#include "stage/StageShape.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

const QRegion kShape = QRegion(2, 2, 6, 6);

QImage solid(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST(StageOutline, ADressedPictureIsHersInsideTheShapeAndTheFringeOutsideIt) {
    // A fringe painted over the whole window, the shape included, keeps only what lies outside.
    QImage edge(10, 10, QImage::Format_ARGB32);
    edge.fill(Qt::transparent);
    for (const QPoint p : {QPoint(1, 4), QPoint(4, 4), QPoint(8, 5)})
        edge.setPixel(p, qRgba(40, 20, 10, 128));
    const StageOutline outline(FigureScale{}, kShape, edge);
    EXPECT_EQ(outline.fringe(), QRegion(1, 4, 1, 1) | QRegion(8, 5, 1, 1));
    EXPECT_EQ(outline.paintArea(), std::optional<QRegion>(kShape | outline.fringe()));

    // A picture placed at (1, 0) of the window.
    const QImage dressed = outline.dressed(solid({8, 10}, Qt::red), {1, 0});
    EXPECT_EQ(dressed.pixel(3, 4), qRgb(255, 0, 0)) << "inside the shape";
    EXPECT_EQ(qAlpha(dressed.pixel(0, 4)), 128) << "the fringe at window x 1";
    EXPECT_EQ(qAlpha(dressed.pixel(7, 5)), 128) << "the fringe at window x 8";
    EXPECT_EQ(dressed.pixel(0, 0), 0u) << "nothing elsewhere";
}

TEST(StageOutline, WithoutASilhouetteThereIsNoShapeNoFringeAndThePictureStaysWhole) {
    const StageOutline outline(FigureScale{}, std::nullopt, solid({10, 10}, Qt::black));
    EXPECT_FALSE(outline.paintArea().has_value());
    EXPECT_TRUE(outline.fringe().isEmpty());
    EXPECT_EQ(outline.dressed(solid({4, 4}, Qt::blue), {0, 0}).pixel(3, 3), qRgb(0, 0, 255));
}

TEST(StageOutline, TheProgramsOwnOutlineKeepsItsShapeAtOneAndIsCutInDevicePixelsAbove) {
    const StageOutline one(FigureScale{});
    ASSERT_TRUE(one.shape().has_value());
    EXPECT_EQ(*one.shape(), *composeWindowRegion(loadRegion(1), loadRegion(2)));
    EXPECT_FALSE(one.fringe().isEmpty()) << "no soft edge for a compositor to show";
    EXPECT_TRUE((one.fringe() & *one.shape()).isEmpty());

    // Her size times the screen's scale gives the device pixels; the screen's alone the
    // logical ones the toolkit's mask is in.
    for (const FigureScale scale : {FigureScale{1, 1.5}, FigureScale{1, 2}, FigureScale{0.5, 1},
                                    FigureScale{2, 1}, FigureScale{1.25, 2}}) {
        const StageOutline outline(scale);
        const qreal ratio = scale.ratio();
        ASSERT_TRUE(outline.shape().has_value());
        const QRect box = outline.shape()->boundingRect();
        EXPECT_EQ(QSize(box.right() + 1, box.bottom() + 1), QSize(208, 452) * ratio) << ratio;
        const QRegion device =
            QTransform::fromScale(scale.device, scale.device).map(*outline.paintArea());
        EXPECT_TRUE((*outline.shape() - device).isEmpty()) << ratio;
        EXPECT_TRUE((device - QRect(QPoint(0, 0), QSize(208, 452) * ratio)).isEmpty()) << ratio;
        EXPECT_TRUE((outline.fringe() & *outline.shape()).isEmpty()) << ratio;
    }
}

} // namespace
