#include "stage/AssetCatalogue.h"

#include <QImage>
#include <QRegion>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr QRgb white = 0xFFFFFFFF;

bool isWhite(const QImage& image, int x, int y) {
    return image.pixel(x, y) == white;
}

QRegion nonWhitePixels(const QImage& image) {
    QRegion region;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width();) {
            int end = x;
            while (end < image.width() && !isWhite(image, end, y))
                ++end;
            if (end > x)
                region += QRect(x, y, end - x, 1);
            x = end + 1;
        }
    }
    return region;
}

qint64 pixelCount(const QRegion& region) {
    qint64 count = 0;
    for (const QRect& r : region)
        count += qint64(r.width()) * r.height();
    return count;
}

// White pixels reachable from the picture's edge through white pixels.
std::vector<bool> outside(const QImage& image) {
    const int w = image.width(), h = image.height();
    std::vector<bool> reached(size_t(w) * h, false);
    std::vector<QPoint> todo;
    for (int x = 0; x < w; ++x)
        todo.insert(todo.end(), {QPoint(x, 0), QPoint(x, h - 1)});
    for (int y = 0; y < h; ++y)
        todo.insert(todo.end(), {QPoint(0, y), QPoint(w - 1, y)});
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h)
            continue;
        const size_t i = size_t(p.y()) * w + p.x();
        if (reached[i] || !isWhite(image, p.x(), p.y()))
            continue;
        reached[i] = true;
        todo.insert(todo.end(),
                    {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
    return reached;
}

const QImage& stage() {
    static const QImage image = AssetCatalogue::bitmap("Stage");
    return image;
}

} // namespace

TEST(StagePicture, silhouetteRegionIsExactlyHerNonWhitePixels) {
    ASSERT_FALSE(stage().isNull());
    const auto body = AssetCatalogue::region(1);
    ASSERT_TRUE(body);
    const QRegion expected = nonWhitePixels(stage());
    EXPECT_TRUE((*body ^ expected).isEmpty());
    EXPECT_EQ(pixelCount(*body), pixelCount(expected));
    // Her feet stand on the bottom row.
    EXPECT_EQ(body->boundingRect().bottom(), stage().height() - 1);
}

TEST(StagePicture, backgroundIsPureWhiteWithoutHaloOrHoles) {
    const QImage& image = stage();
    ASSERT_FALSE(image.isNull());
    const std::vector<bool> reached = outside(image);
    int offWhite = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p == white) {
                // A white pixel that the edge cannot reach would be a hole in her shape.
                EXPECT_TRUE(reached[size_t(y) * image.width() + x]) << x << "," << y;
                continue;
            }
            const bool nearWhite = qRed(p) >= 236 && qGreen(p) >= 236 && qBlue(p) >= 236;
            offWhite += nearWhite;
            if (!nearWhite)
                continue;
            // Her own white (apron, socks, eyes) never touches the background: no pale halo.
            for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                const QPoint n = QPoint(x, y) + d;
                if (image.rect().contains(n)) {
                    EXPECT_NE(image.pixel(n), white) << x << "," << y;
                }
            }
        }
    }
    EXPECT_GT(offWhite, 500);
}

TEST(StagePicture, dialOutlineIsTheRoundedSquare) {
    const auto dial = AssetCatalogue::region(2);
    ASSERT_TRUE(dial);
    EXPECT_EQ(pixelCount(*dial), 16264);
    EXPECT_EQ(dial->boundingRect(), QRect(0, 0, 128, 128));
    const QList<QRect> table = {
        {8, 0, 112, 1},   {6, 1, 116, 1},   {5, 2, 118, 1},   {4, 3, 120, 1},   {3, 4, 122, 1},
        {2, 5, 124, 1},   {1, 6, 126, 2},   {0, 8, 128, 112}, {1, 120, 126, 2}, {2, 122, 124, 1},
        {3, 123, 122, 1}, {4, 124, 120, 1}, {5, 125, 118, 1}, {6, 126, 116, 1}, {8, 127, 112, 1},
    };
    QRegion expected;
    for (const QRect& r : table)
        expected += r;
    EXPECT_TRUE((*dial ^ expected).isEmpty());
    EXPECT_EQ(QList<QRect>(dial->begin(), dial->end()), table);
}

TEST(StagePicture, windowShapeReachesPastThePictureToTheDialsEdge) {
    const auto body = AssetCatalogue::region(1);
    const auto dial = AssetCatalogue::region(2);
    ASSERT_TRUE(body && dial);
    const QRect box = (*body | dial->translated(80, 256)).boundingRect();
    EXPECT_EQ(box.left() + box.width(), 208);
    EXPECT_EQ(box.top() + box.height(), 452);
}

// A face repeats the stage picture's head everywhere but in the eyes, cheeks and mouth: inside
// the face frame, outside the box below, at least 99.5% of the pixels are identical and none
// differs by more than 32 in any channel.
TEST(StagePicture, facesDifferFromTheHeadOnlyInTheExpression) {
    const QRect faceFrame(15, 9, 128, 128);
    const QRect expressionArea(QPoint(20, 70), QPoint(107, 121)); // in face coordinates
    const QImage head = stage().copy(faceFrame);
    for (const char* name : {"Face1", "Face2", "Face3"}) {
        const QImage face = AssetCatalogue::bitmap(name);
        ASSERT_EQ(face.size(), QSize(128, 128)) << name;
        int outsideArea = 0, identical = 0, changedInside = 0;
        for (int y = 0; y < 128; ++y) {
            for (int x = 0; x < 128; ++x) {
                const QRgb a = face.pixel(x, y), b = head.pixel(x, y);
                if (expressionArea.contains(x, y)) {
                    changedInside += a != b;
                    continue;
                }
                ++outsideArea;
                identical += a == b;
                EXPECT_LE(std::abs(qRed(a) - qRed(b)), 32) << name << " " << x << "," << y;
                EXPECT_LE(std::abs(qGreen(a) - qGreen(b)), 32) << name << " " << x << "," << y;
                EXPECT_LE(std::abs(qBlue(a) - qBlue(b)), 32) << name << " " << x << "," << y;
            }
        }
        EXPECT_GE(identical * 1000, outsideArea * 995) << name;
        EXPECT_GT(changedInside, 300) << name << " shows no expression of its own";
    }
}
