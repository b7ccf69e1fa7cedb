#include "stage/AssetCatalogue.h"

#include "stage/PixelRegion.h"
#include "stage/RegionData.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QMutex>
#include <QPainter>
#include <QResource>
#include <QTransform>
#include <map>

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
    QList<QString> paths() const { return paths_.values(); }

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

// Loaded once per ratio; QImage copies share the pixels, so readers on any thread see the
// same strip.
QImage maskedStrip(AssetCatalogue::GlyphList list, qreal ratio) {
    static QMutex mutex;
    static std::map<std::pair<int, qreal>, QImage> strips;
    const QMutexLocker lock(&mutex);
    const auto key = std::make_pair(int(list), ratio);
    auto it = strips.find(key);
    if (it == strips.end())
        it = strips
                 .emplace(key, AssetCatalogue::maskedBitmap(QString::fromLatin1(stripOf(list).name),
                                                            ratio))
                 .first;
    return it->second;
}

// Every ratio but 1 is drawn from the 2x drawings, smaller ones too, as those hold the most.
bool fromTwoX(qreal ratio) {
    return !qFuzzyCompare(ratio, 1);
}

QSize deviceSize(QSize logical, qreal ratio) {
    return QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio));
}

std::optional<QRegion> loadRegion(const QString& path) {
    QResource resource(path);
    if (!resource.isValid())
        return std::nullopt;
    const auto shape = RegionData::parse(resource.uncompressedData());
    if (!shape)
        return std::nullopt;
    return shape->toRegion();
}

// The pixels at least half covered.
QRegion coveredPixels(const QImage& coverage) {
    return pixelRegion(coverage.width(), coverage.height(),
                       [&](int x, int y) { return coverage.constScanLine(y)[x] >= 128; });
}

// A shape drawn at another scale: smoothed like the pictures it cuts, so that both agree.
QRegion rescaled(const QRegion& shape, qreal factor) {
    const QRect box = shape.boundingRect();
    QImage coverage(box.right() + 1, box.bottom() + 1, QImage::Format_Grayscale8);
    coverage.fill(0);
    {
        QPainter painter(&coverage);
        painter.setClipRegion(shape);
        painter.fillRect(coverage.rect(), Qt::white);
    }
    return coveredPixels(coverage.scaled(deviceSize(coverage.size(), factor), Qt::IgnoreAspectRatio,
                                         Qt::SmoothTransformation));
}

// A picture drawn for another ratio, smoothly scaled to the device size of oneX at this one.
QImage scaledTo(const QImage& picture, QSize oneX, qreal ratio) {
    const QSize size = deviceSize(oneX, ratio);
    QImage scaled =
        picture.size() == size
            ? picture
            : picture
                  .convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                             : QImage::Format_RGB32)
                  .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    return scaled;
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

QImage AssetCatalogue::bitmap(const QString& name, qreal ratio) {
    if (!fromTwoX(ratio))
        return bitmap(name);
    // The 2x file is twice the 1x one, which is read only when there is no 2x file.
    QImage picture = bitmap(name + QStringLiteral("@2x"));
    QSize oneX = picture.size() / 2;
    if (picture.isNull()) {
        picture = bitmap(name);
        oneX = picture.size();
    }
    if (picture.isNull())
        return picture;
    return scaledTo(picture, oneX, ratio);
}

QImage AssetCatalogue::bitmap(const QString& name, qreal ratio, int cutBy, QPoint at) {
    if (!fromTwoX(ratio) || qFuzzyCompare(ratio, 2))
        return bitmap(name, ratio);
    const std::optional<QRegion> shape = region(cutBy, 2);
    if (!shape)
        return bitmap(name, ratio);
    QImage twoX = bitmap(name, 2);
    if (twoX.isNull())
        return twoX;
    const QSize oneX = twoX.deviceIndependentSize().toSize();
    twoX.setDevicePixelRatio(1);
    QImage cut(twoX.size(), QImage::Format_ARGB32_Premultiplied);
    cut.fill(Qt::transparent);
    {
        QPainter painter(&cut);
        painter.setClipRegion(shape->translated(-2 * at));
        painter.drawImage(QPoint(0, 0), twoX);
    }
    return scaledTo(cut, oneX, ratio);
}

QImage AssetCatalogue::maskedImage(const QImage& picture, const QImage& mask) {
    if (picture.isNull() || picture.size() != mask.size())
        return QImage();
    QImage result = picture.convertToFormat(QImage::Format_ARGB32);
    // Read in the mask's own kind where it has a colour table: a 1-bit mask converted to
    // colours, or a pixel at a time, cost a good part of her start.
    const QImage::Format kind = mask.format();
    const bool indexed = kind == QImage::Format_Mono || kind == QImage::Format_MonoLSB ||
                         kind == QImage::Format_Indexed8;
    const QImage source =
        mask.convertToFormat(indexed ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    QList<bool> drawnIndex;
    for (const QRgb colour : source.colorTable())
        drawnIndex << (qGray(colour) < 128);
    const int width = result.width();
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        const uchar* indices = source.constScanLine(y);
        const auto* colours = reinterpret_cast<const QRgb*>(indices);
        for (int x = 0; x < width; ++x) {
            const bool drawn = indexed ? drawnIndex.value(indices[x]) : qGray(colours[x]) < 128;
            line[x] = drawn ? (line[x] | 0xFF000000u) : 0u;
        }
    }
    // Every pixel is opaque or wholly clear, the same premultiplied or not.
    result.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
    return result;
}

QImage AssetCatalogue::maskedBitmap(const QString& name) {
    return maskedImage(bitmap(name), bitmap(name + QStringLiteral("Mask")));
}

QImage AssetCatalogue::maskedBitmap(const QString& name, qreal ratio) {
    const QImage picture = bitmap(name, ratio);
    QImage masked = maskedImage(picture, bitmap(name + QStringLiteral("Mask"), ratio));
    masked.setDevicePixelRatio(picture.devicePixelRatio());
    return masked;
}

std::optional<QRegion> AssetCatalogue::region(int id) {
    return loadRegion(QStringLiteral(":/regions/%1.rgn").arg(id));
}

std::optional<QRegion> AssetCatalogue::region(int id, qreal ratio) {
    if (!fromTwoX(ratio))
        return region(id);
    std::optional<QRegion> twoX = loadRegion(QStringLiteral(":/regions/%1@2x.rgn").arg(id));
    if (!twoX) {
        const std::optional<QRegion> oneX = region(id);
        if (!oneX)
            return std::nullopt;
        twoX = QTransform::fromScale(2, 2).map(*oneX);
    }
    if (qFuzzyCompare(ratio, 2) || twoX->isEmpty())
        return twoX;
    return rescaled(*twoX, ratio / 2);
}

QStringList AssetCatalogue::clipNames() {
    QStringList names;
    for (const QString& path : clips().paths())
        names << QFileInfo(path).completeBaseName();
    names.sort();
    return names;
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
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const QImage glyphs = maskedStrip(list, fromTwoX(ratio) ? ratio : 1.0);
    if (index < 0 || index >= strip.count || glyphs.isNull())
        return;
    const QRect source(QPoint(index * strip.glyph.width(), 0), strip.glyph);
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (fromTwoX(ratio)) {
        const qreal r = glyphs.devicePixelRatio();
        painter.drawImage(QRectF(at, strip.glyph), glyphs,
                          QRectF(source.x() * r, 0, source.width() * r, source.height() * r));
    } else {
        painter.drawImage(at, glyphs, source);
    }
    painter.restore();
}
