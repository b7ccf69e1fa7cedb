// Damaged copies of valid blocks, for the sanitizer build to catch any read outside them.
#include "stage/RegionData.h"
#include "voice/WaveImage.h"

#include <QRegion>
#include <QtEndian>
#include <gtest/gtest.h>
#include <random>

namespace {

constexpr quint32 edgeValues[] = {0,          1,          2,          15,         16,
                                  31,         32,         0x7FFFFFFF, 0x80000000, 0xFFFFFFF0,
                                  0xFFFFFFF8, 0xFFFFFFFE, 0xFFFFFFFF, 0x10000000, 0x10000001};

// Hands out damaged copies: some overwrite a 32-bit field with an edge value, others flip
// bytes, and each copy ends at a random length.
class Damage {
public:
    explicit Damage(QByteArray original) : original_(std::move(original)) {}

    QByteArray next() {
        QByteArray copy = original_;
        const auto pick = [&](qsizetype n) { return qsizetype(random_() % quint64(n)); };
        if (random_() % 2) {
            const qsizetype field = pick(copy.size() / 4) * 4;
            qToLittleEndian(edgeValues[pick(std::size(edgeValues))], copy.data() + field);
        } else {
            for (int flips = 1 + pick(4); flips > 0; --flips)
                copy[pick(copy.size())] = char(random_());
        }
        if (random_() % 3 == 0)
            copy.truncate(pick(copy.size() + 1));
        // A detached buffer of exactly the copy's size, so that any overread leaves it.
        return QByteArray(copy.constData(), copy.size());
    }

private:
    QByteArray original_;
    std::mt19937_64 random_{20240501};
};

QByteArray sampleRegionBlock() {
    RegionData shape;
    shape.bounds = QRect(0, 0, 40, 30);
    for (int band = 0; band < 6; ++band)
        for (int x = 0; x < 3; ++x)
            shape.rectangles.append(QRect(x * 12 + band, band * 5, 6, 5));
    return shape.toBlock();
}

QByteArray sampleWaveImage() {
    QByteArray body;
    const auto put = [&](quint32 v, int bytes) {
        char raw[4];
        qToLittleEndian(v, raw);
        body.append(raw, bytes);
    };
    body.append("LIST", 4);
    put(5, 4);
    body.append("info\0\0", 6);
    body.append("fmt ", 4);
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(22050, 4);
    put(44100, 4);
    put(2, 2);
    put(16, 2);
    body.append("data", 4);
    put(64, 4);
    body.append(QByteArray(64, '\x11'));
    QByteArray image("RIFF", 4);
    const qsizetype riffSize = body.size() + 4;
    char raw[4];
    qToLittleEndian(quint32(riffSize), raw);
    image.append(raw, 4);
    return image + "WAVE" + body;
}

} // namespace

TEST(MutatedInput, regionBlocksParseOnlyIntoConsistentShapes) {
    ASSERT_TRUE(RegionData::parse(sampleRegionBlock()));
    Damage damage(sampleRegionBlock());
    for (int i = 0; i < 20000; ++i) {
        const QByteArray block = damage.next();
        const auto shape = RegionData::parse(block);
        if (!shape)
            continue;
        ASSERT_LE(32 + 16 * shape->rectangles.size(), block.size());
        for (const QRect& r : shape->rectangles)
            ASSERT_TRUE(shape->bounds.contains(r));
        shape->toRegion();
    }
}

TEST(MutatedInput, waveImagesParseOnlyIntoSamplesInsideThem) {
    ASSERT_TRUE(WaveImage::parse(sampleWaveImage()));
    Damage damage(sampleWaveImage());
    for (int i = 0; i < 20000; ++i) {
        const QByteArray image = damage.next();
        const auto wave = WaveImage::parse(image);
        if (!wave)
            continue;
        ASSERT_GE(wave->samples.data(), image.constData());
        ASSERT_LE(wave->samples.data() + wave->samples.size(), image.constData() + image.size());
        ASSERT_EQ(wave->samples.size() % wave->bytesPerFrame(), 0);
    }
}
