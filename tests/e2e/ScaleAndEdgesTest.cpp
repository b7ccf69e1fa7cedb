// Her window on a HiDPI screen and under a compositor, seen from outside: at scale 2 her
// pictures are as sharp as at scale 1 and her shape is cut in device pixels; her window has
// an alpha channel, and the fringe of her outline shows only while a compositor runs.
#include "stage/AssetCatalogue.h"
#include "stage/StageShape.h"
#include "support/harness/ProgramFixture.h"
#include "support/harness/XShape.h"

#include <QDir>
#include <QProcess>
#include <cmath>
#include <gtest/gtest.h>

namespace {

const QPoint kHerPlace(40, 30);
const QRect kHead(15, 9, 128, 128);
const QRect kDial(80, 256, 128, 128);

// How sharp a picture's edges are: every step between neighbours weighted by its own height,
// over the sum of the steps. An edge spread over two pixels counts half as sharp as one
// taken in a single pixel, however large the picture.
double edgeSharpness(const QImage& picture) {
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    double steps = 0;
    double weighted = 0;
    for (int y = 0; y + 1 < grey.height(); ++y) {
        const uchar* line = grey.constScanLine(y);
        const uchar* below = grey.constScanLine(y + 1);
        for (int x = 0; x + 1 < grey.width(); ++x) {
            for (const int step : {std::abs(line[x + 1] - line[x]), std::abs(below[x] - line[x])}) {
                steps += step;
                weighted += double(step) * step;
            }
        }
    }
    return steps > 0 ? weighted / steps : 0;
}

QRect scaled(const QRect& r, int scale) {
    return QRect(r.topLeft() * scale, r.size() * scale);
}

class ScaleAndEdges : public ProgramFixture {
protected:
    ScaleAndEdges() : ProgramFixture(QSize(1024, 1024)) {}

    // Her window at that scale, once it stands at her place.
    std::optional<qulonglong> startAt(int scale) {
        StageSettings settings;
        settings.FormLeft = kHerPlace.x();
        settings.FormTop = kHerPlace.y();
        store(settings);
        program_ = launch({QStringLiteral("QT_SCALE_FACTOR=%1").arg(scale)});
        return waitForHer(*program_, kHerPlace * scale);
    }
    void stop() {
        closeBySignal(*program_);
        program_.reset();
    }
    int depthOf(qulonglong window) const {
        const QString info = QString::fromUtf8(
            session
                .run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)})
                .out);
        const qsizetype at = info.indexOf(QStringLiteral("Depth:"));
        return at < 0 ? 0 : info.mid(at + 6, 4).trimmed().toInt();
    }
    void keep(const QImage& image, const QString& name) const {
        QDir().mkpath(QStringLiteral(HOURLING_ARTIFACT_DIR));
        image.save(QStringLiteral(HOURLING_ARTIFACT_DIR "/%1.png").arg(name));
    }

private:
    std::unique_ptr<ProgramRun> program_;
};

TEST_F(ScaleAndEdges, AtScaleTwoHerPicturesAreAsSharpAsAtOneAndHerShapeIsCutInDevicePixels) {
    std::map<int, QImage> seen;
    for (int scale : {1, 2}) {
        const auto her = startAt(scale);
        ASSERT_TRUE(her.has_value());
        EXPECT_EQ(session.windowGeometry(*her).size(), QSize(208, 452) * scale);
        if (scale == 2) {
            const QRegion shape = boundingShapeOf(session, *her);
            const QRegion doubled = QTransform::fromScale(2, 2).map(
                *composeWindowRegion(AssetCatalogue::region(1), AssetCatalogue::region(2)));
            EXPECT_EQ(shape, *composeWindowRegion(AssetCatalogue::region(1, 2),
                                                  AssetCatalogue::region(2, 2), QPoint(160, 512)));
            EXPECT_NE(shape, doubled) << "her outline is the 1x one with its steps doubled";
        }
        // Her face without an expression over it, and the dial's face with the hands on it.
        seen[scale] = session.screenshot().copy(QRect(kHerPlace * scale, QSize(208, 452) * scale));
        keep(seen[scale], QStringLiteral("scale-%1").arg(scale));
        stop();
    }
    for (const QRect& part : {kHead, kDial}) {
        const double one = edgeSharpness(seen[1].copy(part));
        const double two = edgeSharpness(seen[2].copy(scaled(part, 2)));
        EXPECT_GT(two, 0.8 * one) << "at " << part.x() << "," << part.y() << ": " << two
                                  << " at scale 2 against " << one << " at scale 1";
    }
}

TEST_F(ScaleAndEdges, HerFringeShowsWhileACompositorRunsAndTheMouseKeepsHerExactShape) {
    const auto her = startAt(1);
    ASSERT_TRUE(her.has_value());
    EXPECT_EQ(depthOf(*her), 32) << "her window has no alpha channel";
    const QRegion shape =
        *composeWindowRegion(AssetCatalogue::region(1), AssetCatalogue::region(2));
    EXPECT_EQ(boundingShapeOf(session, *her), shape);
    EXPECT_EQ(inputShapeOf(session, *her), shape);
    // A compositor that ignores X shapes still shows her cut out: her window's own pixels
    // are opaque inside her shape and clear away from it.
    const QImage pixels = windowPixelsOf(session, *her);
    ASSERT_EQ(pixels.size(), QSize(208, 452));
    for (const QPoint inside : {QPoint(80, 60), QPoint(80 + 64, 256 + 64), QPoint(100, 440)})
        EXPECT_EQ(qAlpha(pixels.pixel(inside)), 255) << inside.x() << "," << inside.y();
    for (const QPoint outside :
         {QPoint(0, 0), QPoint(207, 0), QPoint(200, 450), QPoint(2, 300), QPoint(207, 256)})
        EXPECT_EQ(qAlpha(pixels.pixel(outside)), 0) << outside.x() << "," << outside.y();

    QProcess compositor;
    compositor.setProcessEnvironment(session.environment());
    compositor.start(QStringLiteral("xcompmgr"), {QStringLiteral("-n")});
    ASSERT_TRUE(compositor.waitForStarted());
    EXPECT_TRUE(eventually([&] { return boundingShapeOf(session, *her) != shape; }, 10000))
        << "the fringe did not come with the compositor";
    const QRegion fringe = boundingShapeOf(session, *her) - shape;
    EXPECT_FALSE(fringe.isEmpty());
    EXPECT_TRUE((boundingShapeOf(session, *her) & shape) == shape);
    EXPECT_EQ(inputShapeOf(session, *her), shape);
    // What the compositor shows: the desktop around her, her own pixels inside her outline,
    // and the fringe blended between.
    const QImage shown = compositedScreenOf(session);
    ASSERT_FALSE(shown.isNull());
    const QRgb desktop = shown.pixel(1020, 1020);
    for (const QPoint outside : {QPoint(2, 300), QPoint(207, 256)})
        EXPECT_EQ(shown.pixel(kHerPlace + outside), desktop) << outside.x() << "," << outside.y();
    EXPECT_EQ(shown.pixel(kHerPlace + QPoint(80, 60)), pixels.pixel(80, 60));
    const QPoint edge = fringe.begin()->topLeft();
    EXPECT_NE(shown.pixel(kHerPlace + edge), desktop) << edge.x() << "," << edge.y();
    keep(shown.copy(QRect(kHerPlace, QSize(208, 452))), QStringLiteral("under-compositor"));

    compositor.terminate();
    ASSERT_TRUE(compositor.waitForFinished());
    EXPECT_TRUE(eventually([&] { return boundingShapeOf(session, *her) == shape; }, 10000))
        << "the fringe stayed after the compositor ended";
    stop();
}

} // namespace
