#include "stage/AssetCatalogue.h"

#include "stage/RegionData.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QMutex>
#include <QPainter>
#include <QResource>

namespace {

// Resource file names by their case-folded base name, one index per folder.
class NameIndex {
public:
    explicit NameIndex(const QString& folder) {
        QDirIterator it(folder, QDir::Files);
        while (it.hasNext()) {
            const QString path = it.next();
            paths_.insert(QFileInfo(path).completeBaseName().toCaseFolded(), path);
        }
    }
    QString find(const QString& name) const { return paths_.value(name.toCaseFolded()); }

private:
    QHash<QString, QString> paths_;
};

const NameIndex& images() {
    static const NameIndex index(QStringLiteral(":/images"));
    return index;
}

const NameIndex& clips() {
    static const NameIndex index(QStringLiteral(":/voice"));
    return index;
}

struct GlyphStrip {
    const char* name;
    QSize glyph;
    int count;
};

GlyphStrip stripOf(AssetCatalogue::GlyphList list) {
    switch (list) {
    case AssetCatalogue::GlyphList::DigiNumber:
        return {"DigiNumber", QSize(24, 48), 13};
    case AssetCatalogue::GlyphList::DigiNumSmall:
        return {"DigiNumSmall", QSize(16, 32), 13};
    case AssetCatalogue::GlyphList::AmPm:
        return {"AmPm", QSize(64, 16), 2};
    }
    return {"", QSize(), 0};
}

QImage loadStrip(AssetCatalogue::GlyphList list) {
    return AssetCatalogue::maskedBitmap(QString::fromLatin1(stripOf(list).name));
}

// Loaded once; QImage copies share the pixels, so readers on any thread see the same strip.
const QImage& maskedStrip(AssetCatalogue::GlyphList list) {
    static const QImage digiNumber = loadStrip(AssetCatalogue::GlyphList::DigiNumber);
    static const QImage digiNumSmall = loadStrip(AssetCatalogue::GlyphList::DigiNumSmall);
    static const QImage amPm = loadStrip(AssetCatalogue::GlyphList::AmPm);
    switch (list) {
    case AssetCatalogue::GlyphList::DigiNumber:
        return digiNumber;
    case AssetCatalogue::GlyphList::DigiNumSmall:
        return digiNumSmall;
    case AssetCatalogue::GlyphList::AmPm:
        break;
    }
    return amPm;
}

} // namespace

QImage AssetCatalogue::bitmap(const QString& name) {
    const QString path = images().find(name);
    if (path.isEmpty())
        return QImage();
    // Every picture here is a PNG, which Qt reads itself; left to guess, the reader would
    // load each image format plugin installed to ask it first.
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QImage AssetCatalogue::maskedImage(const QImage& picture, const QImage& mask) {
    if (picture.isNull() || picture.size() != mask.size())
        return QImage();
    QImage result = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const bool drawn = qGray(mask.pixel(x, y)) < 128;
            line[x] = drawn ? (line[x] | 0xFF000000u) : 0u;
        }
    }
    return result.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage AssetCatalogue::maskedBitmap(const QString& name) {
    return maskedImage(bitmap(name), bitmap(name + QStringLiteral("Mask")));
}

std::optional<QRegion> AssetCatalogue::region(int id) {
    QResource resource(QStringLiteral(":/regions/%1.rgn").arg(id));
    if (!resource.isValid())
        return std::nullopt;
    const QByteArray block = resource.uncompressedData();
    const auto shape = RegionData::parse(block);
    if (!shape)
        return std::nullopt;
    return shape->toRegion();
}

QByteArrayView AssetCatalogue::clip(const QString& name) {
    const QString path = clips().find(name);
    if (path.isEmpty())
        return {};
    QResource resource(path);
    if (resource.compressionAlgorithm() == QResource::NoCompression)
        return QByteArrayView(reinterpret_cast<const char*>(resource.data()), resource.size());
    // Stored compressed after all: unpack once and keep the bytes for the rest of the run.
    static QMutex mutex;
    static QHash<QString, QByteArray> unpacked;
    const QMutexLocker lock(&mutex);
    auto it = unpacked.find(path);
    if (it == unpacked.end())
        it = unpacked.insert(path, resource.uncompressedData());
    return QByteArrayView(*it);
}

QSize AssetCatalogue::glyphSize(GlyphList list) {
    return stripOf(list).glyph;
}

int AssetCatalogue::glyphCount(GlyphList list) {
    return stripOf(list).count;
}

void AssetCatalogue::drawGlyph(QPainter& painter, GlyphList list, int index, QPoint at) {
    const GlyphStrip strip = stripOf(list);
    const QImage& glyphs = maskedStrip(list);
    if (index < 0 || index >= strip.count || glyphs.isNull())
        return;
    const QRect source(QPoint(index * strip.glyph.width(), 0), strip.glyph);
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(at, glyphs, source);
    painter.restore();
}
