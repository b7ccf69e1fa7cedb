#include "voice/WaveImage.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

void put16(QByteArray& out, quint16 v) {
    char raw[2];
    qToLittleEndian(v, raw);
    out.append(raw, 2);
}

void put32(QByteArray& out, quint32 v) {
    char raw[4];
    qToLittleEndian(v, raw);
    out.append(raw, 4);
}

QByteArray chunk(const char* tag, const QByteArray& body, bool pad = true) {
    QByteArray out(tag, 4);
    put32(out, quint32(body.size()));
    out += body;
    if (pad && body.size() % 2)
        out += '\0';
    return out;
}

QByteArray formatBody(quint16 tag, quint16 channels, quint32 rate, quint16 bits,
                      int blockAlign = -1) {
    const quint16 align = blockAlign >= 0 ? quint16(blockAlign) : quint16(channels * bits / 8);
    QByteArray body;
    put16(body, tag);
    put16(body, channels);
    put32(body, rate);
    put32(body, rate * align);
    put16(body, align);
    put16(body, bits);
    return body;
}

QByteArray riff(const QByteArray& chunks) {
    QByteArray out("RIFF");
    put32(out, quint32(chunks.size() + 4));
    return out + "WAVE" + chunks;
}

QByteArray samples(int frames) {
    QByteArray out;
    for (int i = 0; i < frames; ++i)
        put16(out, quint16(i * 100));
    return out;
}

QByteArray monoImage(int frames = 2205) {
    return riff(chunk("fmt ", formatBody(1, 1, 22050, 16)) + chunk("data", samples(frames)));
}

} // namespace

TEST(WaveImage, readsFormatAndSamplesInPlace) {
    const QByteArray image = monoImage();
    const auto wave = WaveImage::parse(image);
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->channels, 1);
    EXPECT_EQ(wave->sampleRate, 22050);
    EXPECT_EQ(wave->bitsPerSample, 16);
    EXPECT_EQ(wave->frameCount(), 2205);
    EXPECT_DOUBLE_EQ(wave->durationSeconds(), 0.1);
    EXPECT_EQ(wave->samples.data(), image.constData() + 44);
    EXPECT_EQ(wave->samples.size(), 4410);
}

TEST(WaveImage, walksPastOtherChunksWithTheirPadding) {
    const QByteArray odd = chunk("LIST", QByteArray("abc"));
    const QByteArray image =
        riff(odd + chunk("fmt ", formatBody(1, 2, 8000, 8)) + chunk("junk", QByteArray(7, 'x')) +
             chunk("data", QByteArray(9, '\x80'), false));
    const auto wave = WaveImage::parse(image);
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->channels, 2);
    EXPECT_EQ(wave->bitsPerSample, 8);
    EXPECT_EQ(wave->samples.size(), 8); // the odd byte is half a frame
    EXPECT_EQ(wave->samples.data(), image.constData() + image.size() - 9);

    // Data before the format, and a format chunk longer than the basic one.
    const QByteArray extended = formatBody(1, 1, 44100, 24) + QByteArray(2, '\0');
    EXPECT_TRUE(WaveImage::parse(riff(chunk("data", samples(3)) + chunk("fmt ", extended))));
}

TEST(WaveImage, refusesEveryTruncation) {
    const QByteArray image = monoImage(5);
    for (qsizetype length = 0; length < image.size(); ++length)
        EXPECT_FALSE(WaveImage::parse(QByteArrayView(image).first(length))) << length;
}

TEST(WaveImage, refusesWrongContainers) {
    QByteArray image = monoImage();
    EXPECT_FALSE(WaveImage::parse(QByteArray(image).replace(0, 4, "RIFX")));
    EXPECT_FALSE(WaveImage::parse(QByteArray(image).replace(8, 4, "AVI ")));

    auto withRiffSize = [&](quint32 size) {
        QByteArray copy = image;
        qToLittleEndian(size, copy.data() + 4);
        return WaveImage::parse(copy);
    };
    EXPECT_FALSE(withRiffSize(quint32(image.size() - 7)));
    EXPECT_FALSE(withRiffSize(0xFFFFFFFF));
    EXPECT_FALSE(withRiffSize(0xFFFFFFF8)); // wraps to a small total in 32 bits
    EXPECT_FALSE(withRiffSize(3));
    // A smaller RIFF size hides what lies after it: here, the data chunk.
    EXPECT_FALSE(withRiffSize(4 + 24));
}

TEST(WaveImage, refusesChunksReachingPastTheImage) {
    const QByteArray format = chunk("fmt ", formatBody(1, 1, 22050, 16));
    for (quint32 size :
         {quint32(11), quint32(0x7FFFFFFF), quint32(0xFFFFFFFF), quint32(0xFFFFFFF8)}) {
        QByteArray data("data");
        put32(data, size);
        data += QByteArray(10, '\0');
        EXPECT_FALSE(WaveImage::parse(riff(format + data))) << size;
        if (size > 0xFFFF) {
            EXPECT_FALSE(WaveImage::parse(riff(data + format))) << size;
        }
    }
}

TEST(WaveImage, refusesWhatIsNotPlainPcm) {
    const QByteArray data = chunk("data", samples(4));
    auto with = [&](const QByteArray& format) {
        return WaveImage::parse(riff(chunk("fmt ", format) + data));
    };
    EXPECT_TRUE(with(formatBody(1, 1, 22050, 16)));
    EXPECT_FALSE(with(formatBody(3, 1, 22050, 32)));      // floating point
    EXPECT_FALSE(with(formatBody(0xFFFE, 1, 22050, 16))); // extensible
    EXPECT_FALSE(with(formatBody(1, 0, 22050, 16)));
    EXPECT_FALSE(with(formatBody(1, 1, 0, 16)));
    EXPECT_FALSE(with(formatBody(1, 1, 22050, 12)));
    EXPECT_FALSE(with(formatBody(1, 1, 22050, 0)));
    EXPECT_FALSE(with(formatBody(1, 2, 22050, 16, 2))); // block size of one channel
    EXPECT_FALSE(with(formatBody(1, 1, 22050, 16).first(14)));

    EXPECT_FALSE(WaveImage::parse(riff(chunk("fmt ", formatBody(1, 1, 22050, 16)))));
    EXPECT_FALSE(WaveImage::parse(riff(data)));
    EXPECT_FALSE(WaveImage::parse(riff(QByteArray())));
}
