// Her window on a HiDPI screen, at each of her sizes and under a compositor, seen from
// outside: at scale 2 and at every size her pictures are as sharp as at scale 1 and her shape
// is cut in device pixels; her window has an alpha channel, and the fringe of her outline
// shows only while a compositor runs.
#include "stage/AssetCatalogue.h"
#include "stage/StageShape.h"
#include "support/harness/ProgramFixture.h"
#include "support/harness/XShape.h"
#include "voice/BalloonGeometry.h"

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

QRect scaled(const QRect& r, qreal scale) {
    return QRect(r.topLeft() * scale, r.size() * scale);
}

class ScaleAndEdges : public ProgramFixture {
protected:
    ScaleAndEdges() : ProgramFixture(QSize(1024, 1024)) {}

    // Her window at that scale and size, once it stands at her place; environment: more for
    // her start.
    std::optional<qulonglong> startAt(int scale, int size = 100,
                                      const QStringList& environment = {}) {
        StageSettings settings;
        settings.FormLeft = kHerPlace.x();
        settings.FormTop = kHerPlace.y();
        settings.Size = size;
        settings.schedules[0].used = true;
        settings.schedules[0].hour = 8;
        settings.schedules[0].minute = 30;
        store(settings);
        program_ =
            launch(environment + QStringList{QStringLiteral("QT_SCALE_FACTOR=%1").arg(scale)});
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

// Each size as stored: her window and shape, her head and dial as sharp as the 2x pictures
// allow (as her 200 % scaled down or up), and her balloon on her mouth where that size puts it.
TEST_F(ScaleAndEdges, AtEachSizeHerShapeDialAndBalloonFollowAndHerPicturesStaySharp) {
    QImage twoX;
    for (const int percent : {200, 50, 75, 100, 125, 150}) {
        SCOPED_TRACE(percent);
        const qreal size = percent / 100.0;
        const auto her = startAt(1, percent, fixedClockEnvironment("2026-03-15 08:29:58"));
        ASSERT_TRUE(her.has_value());
        EXPECT_EQ(session.windowGeometry(*her).size(), QSize(208, 452) * size);
        const QRegion shape =
            *composeWindowRegion(AssetCatalogue::region(1, size), AssetCatalogue::region(2, size),
                                 QPoint(80, 256) * size);
        EXPECT_TRUE((boundingShapeOf(session, *her) ^ shape).isEmpty());
        const QRect mouth(QPoint(qRound(40 * size), qRound(108 * size)),
                          QPoint(qRound(121 * size) - 1, qRound(145 * size) - 1));
        const QPoint beside =
            placeBalloon(balloonCorner(kHerPlace, QSize(208, 452) * size, QRect(0, 0, 1024, 1024)),
                         kHerPlace, mouth, {240, 160}, QRect(35, 48, 169, 65))
                .position;
        EXPECT_TRUE(eventually([&] {
            const auto balloon = session.waitForWindowByName(QStringLiteral("MessageBalloon"), 50);
            return balloon && session.windowGeometry(*balloon).topLeft() == beside;
        })) << "her balloon is not at her mouth";
        closeBalloon();
        const QImage shown = session.screenshot().copy(QRect(kHerPlace, QSize(208, 452) * size));
        keep(shown, QStringLiteral("size-%1").arg(percent));
        if (twoX.isNull())
            twoX = shown;
        for (const QRect& part : {kHead, kDial}) {
            const double sharpness = edgeSharpness(shown.copy(scaled(part, size)));
            const double best = edgeSharpness(
                twoX.copy(scaled(part, 2))
                    .scaled(part.size() * size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            EXPECT_GT(sharpness, 0.8 * best)
                << part.y() << ": " << sharpness << " against " << best;
        }
        stop();
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
