#pragma once

#include <QByteArrayView>
#include <QList>
#include <QRect>
#include <optional>

class QRegion;

// A window shape stored as a block of rectangles: a 32-byte little-endian header (header size,
// type, rectangle count, rectangle bytes, bounding rectangle) followed by the rectangles, each
// left, top, right, bottom with right and bottom exclusive, in bands from top to bottom.
class RegionData {
public:
    static constexpr int kHeaderSize = 32;
    static constexpr int kRectangleSize = 16;
    static constexpr quint32 kRectanglesType = 1;

    // The block's contents, or none when any field is inconsistent. Bytes after the rectangles
    // are ignored; nothing outside the block is ever read.
    static std::optional<RegionData> parse(QByteArrayView block);
    // The block that parse() reads back as this shape.
    QByteArray toBlock() const;
    // In RegionDataGui.cpp, so that the parser itself needs Qt Core alone.
    QRegion toRegion() const;

    QRect bounds;
    QList<QRect> rectangles;
};
