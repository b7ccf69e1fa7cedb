#include "stage/RegionData.h"

#include <QRegion>
#include <QtEndian>
#include <gtest/gtest.h>
#include <limits>

namespace {

// Writes a block field by field, so that tests can state inconsistent headers.
struct BlockWriter {
    QByteArray bytes;
    BlockWriter& put(qint64 value) {
        char raw[4];
        qToLittleEndian(quint32(value), raw);
        bytes.append(raw, 4);
        return *this;
    }
    BlockWriter& header(qint64 size, qint64 type, qint64 count, qint64 rectBytes,
                        QList<int> bounds) {
        put(size).put(type).put(count).put(rectBytes);
        for (int v : bounds)
            put(v);
        return *this;
    }
    BlockWriter& rect(int left, int top, int right, int bottom) {
        return put(left).put(top).put(right).put(bottom);
    }
};

RegionData twoBands() {
    RegionData shape;
    shape.bounds = QRect(0, 0, 10, 6);
    shape.rectangles = {QRect(0, 0, 3, 2), QRect(5, 0, 5, 2), QRect(2, 2, 6, 4)};
    return shape;
}

std::optional<RegionData> parseWithRects(std::initializer_list<std::array<int, 4>> rects,
                                         QList<int> bounds = {0, 0, 100, 100}) {
    BlockWriter w;
    w.header(32, 1, qint64(rects.size()), 16 * qint64(rects.size()), bounds);
    for (const auto& r : rects)
        w.rect(r[0], r[1], r[2], r[3]);
    return RegionData::parse(w.bytes);
}

} // namespace

TEST(RegionData, readsBackWhatItWrites) {
    const QByteArray block = twoBands().toBlock();
    ASSERT_EQ(block.size(), 32 + 3 * 16);
    const auto parsed = RegionData::parse(block);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->bounds, QRect(0, 0, 10, 6));
    EXPECT_EQ(parsed->rectangles, twoBands().rectangles);

    const QRegion region = parsed->toRegion();
    EXPECT_TRUE(region.contains(QPoint(0, 0)));
    EXPECT_TRUE(region.contains(QPoint(2, 1)));
    EXPECT_FALSE(region.contains(QPoint(3, 1))); // right edges are exclusive
    EXPECT_FALSE(region.contains(QPoint(4, 0)));
    EXPECT_TRUE(region.contains(QPoint(7, 5)));
    EXPECT_FALSE(region.contains(QPoint(8, 5)));
    EXPECT_FALSE(region.contains(QPoint(2, 6))); // so are bottom edges
}

TEST(RegionData, acceptsTrailingBytesAndEmptyShapes) {
    QByteArray block = twoBands().toBlock();
    block.append("tail");
    EXPECT_TRUE(RegionData::parse(block));

    const auto empty = RegionData::parse(BlockWriter().header(32, 1, 0, 0, {0, 0, 0, 0}).bytes);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->toRegion().isEmpty());
}

TEST(RegionData, refusesEveryTruncation) {
    const QByteArray block = twoBands().toBlock();
    for (qsizetype length = 0; length < block.size(); ++length)
        EXPECT_FALSE(RegionData::parse(QByteArrayView(block).first(length))) << length;
}

TEST(RegionData, refusesInconsistentHeaders) {
    const QList<int> bounds{0, 0, 10, 10};
    auto withOneRect = [&](qint64 size, qint64 type, qint64 count, qint64 rectBytes) {
        return RegionData::parse(
            BlockWriter().header(size, type, count, rectBytes, bounds).rect(0, 0, 1, 1).bytes);
    };
    EXPECT_TRUE(withOneRect(32, 1, 1, 16));
    EXPECT_FALSE(withOneRect(16, 1, 1, 16));
    EXPECT_FALSE(withOneRect(48, 1, 1, 16));
    EXPECT_FALSE(withOneRect(32, 0, 1, 16));
    EXPECT_FALSE(withOneRect(32, 2, 1, 16));
    EXPECT_FALSE(withOneRect(32, 1, 1, 15));
    EXPECT_FALSE(withOneRect(32, 1, 2, 16));
    EXPECT_FALSE(withOneRect(32, 1, 2, 32)); // counts more rectangles than the block holds
    EXPECT_FALSE(withOneRect(32, 1, 0, 16));
    // 16 x count wraps to a small number in 32 bits.
    EXPECT_FALSE(withOneRect(32, 1, 0x10000001, 16));
    EXPECT_FALSE(withOneRect(32, 1, 0xFFFFFFFF, 0xFFFFFFF0));
    EXPECT_FALSE(withOneRect(32, 1, 0x0FFFFFFF, 0xFFFFFFF0));
}

TEST(RegionData, refusesBadBounds) {
    auto withBounds = [](QList<int> bounds) {
        return RegionData::parse(BlockWriter().header(32, 1, 0, 0, bounds).bytes);
    };
    EXPECT_FALSE(withBounds({10, 0, 5, 10}));
    EXPECT_FALSE(withBounds({0, 10, 10, 5}));
    constexpr int lowest = std::numeric_limits<int>::min();
    constexpr int highest = std::numeric_limits<int>::max();
    EXPECT_FALSE(withBounds({lowest, 0, 10, 10}));
    EXPECT_FALSE(withBounds({-10, 0, highest, 10}));
    EXPECT_TRUE(withBounds({-1000, -1000, 1000, 1000}));
}

TEST(RegionData, refusesEmptyOrStrayRectangles) {
    EXPECT_FALSE(parseWithRects({{5, 0, 5, 1}}));
    EXPECT_FALSE(parseWithRects({{6, 0, 5, 1}}));
    EXPECT_FALSE(parseWithRects({{0, 3, 1, 3}}));
    EXPECT_FALSE(parseWithRects({{0, 3, 1, 2}}));
    EXPECT_FALSE(parseWithRects({{-1, 0, 5, 1}}));
    EXPECT_FALSE(parseWithRects({{0, -1, 5, 1}}));
    EXPECT_FALSE(parseWithRects({{0, 0, 101, 1}}));
    EXPECT_FALSE(parseWithRects({{0, 99, 5, 101}}));
    EXPECT_TRUE(parseWithRects({{0, 0, 100, 100}}));
}

TEST(RegionData, refusesRectanglesOutOfBandOrder) {
    EXPECT_TRUE(parseWithRects({{0, 0, 5, 2}, {5, 0, 9, 2}, {1, 2, 3, 4}, {0, 9, 1, 10}}));
    EXPECT_FALSE(parseWithRects({{5, 0, 9, 2}, {0, 0, 3, 2}})); // right to left in a band
    EXPECT_FALSE(parseWithRects({{0, 0, 5, 2}, {4, 0, 9, 2}})); // overlapping in a band
    EXPECT_FALSE(parseWithRects({{0, 2, 5, 4}, {0, 0, 5, 2}})); // bottom band first
    EXPECT_FALSE(parseWithRects({{0, 0, 5, 4}, {6, 2, 9, 6}})); // bands overlapping
    EXPECT_FALSE(parseWithRects({{0, 0, 5, 4}, {6, 0, 9, 3}})); // one band, two heights
}
