#include "stage/RegionData.h"

#include <QtEndian>
#include <limits>

namespace {

struct Edges {
    qint32 left, top, right, bottom;
};

qint32 readInt32(const char* at) {
    return qFromLittleEndian<qint32>(at);
}
quint32 readUint32(const char* at) {
    return qFromLittleEndian<quint32>(at);
}

Edges readEdges(const char* at) {
    return {readInt32(at), readInt32(at + 4), readInt32(at + 8), readInt32(at + 12)};
}

// QRect keeps inclusive corners and int extents: edges it cannot hold are refused, not wrapped.
bool fitsQRect(const Edges& e) {
    constexpr qint64 kLargest = std::numeric_limits<int>::max();
    constexpr qint32 kSmallest = std::numeric_limits<qint32>::min();
    return e.left > kSmallest && e.top > kSmallest && qint64(e.right) - e.left <= kLargest &&
           qint64(e.bottom) - e.top <= kLargest;
}

QRect toRect(const Edges& e) {
    return QRect(e.left, e.top, e.right - e.left, e.bottom - e.top);
}

bool inside(const Edges& r, const Edges& bounds) {
    return r.left >= bounds.left && r.top >= bounds.top && r.right <= bounds.right &&
           r.bottom <= bounds.bottom;
}

// Rectangles of one band share top and bottom and run left to right without overlapping;
// each later band starts at or below the bottom of the one before.
bool follows(const Edges& previous, const Edges& next) {
    if (next.top == previous.top && next.bottom == previous.bottom)
        return next.left >= previous.right;
    return next.top >= previous.bottom;
}

void appendInt32(QByteArray& out, qint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void appendEdges(QByteArray& out, const QRect& r) {
    appendInt32(out, r.left());
    appendInt32(out, r.top());
    appendInt32(out, r.left() + r.width());
    appendInt32(out, r.top() + r.height());
}

} // namespace

std::optional<RegionData> RegionData::parse(QByteArrayView block) {
    if (block.size() < kHeaderSize)
        return std::nullopt;
    const char* data = block.data();
    const quint32 declaredHeaderSize = readUint32(data);
    const quint32 type = readUint32(data + 4);
    const quint64 count = readUint32(data + 8);
    const quint64 rectangleBytes = readUint32(data + 12);
    const Edges bounds = readEdges(data + 16);
    if (declaredHeaderSize != kHeaderSize || type != kRectanglesType)
        return std::nullopt;
    if (rectangleBytes != count * kRectangleSize)
        return std::nullopt;
    if (quint64(block.size()) - kHeaderSize < rectangleBytes)
        return std::nullopt;
    if (bounds.right < bounds.left || bounds.bottom < bounds.top || !fitsQRect(bounds))
        return std::nullopt;

    RegionData result;
    result.bounds = toRect(bounds);
    result.rectangles.reserve(qsizetype(count));
    Edges previous{};
    for (quint64 i = 0; i < count; ++i) {
        const Edges r = readEdges(data + kHeaderSize + i * kRectangleSize);
        if (r.right <= r.left || r.bottom <= r.top || !inside(r, bounds) || !fitsQRect(r))
            return std::nullopt;
        if (i > 0 && !follows(previous, r))
            return std::nullopt;
        result.rectangles.append(toRect(r));
        previous = r;
    }
    return result;
}

QByteArray RegionData::toBlock() const {
    QByteArray out;
    out.reserve(kHeaderSize + rectangles.size() * kRectangleSize);
    appendInt32(out, kHeaderSize);
    appendInt32(out, qint32(kRectanglesType));
    appendInt32(out, qint32(rectangles.size()));
    appendInt32(out, qint32(rectangles.size() * kRectangleSize));
    appendEdges(out, bounds);
    for (const QRect& r : rectangles)
        appendEdges(out, r);
    return out;
}
