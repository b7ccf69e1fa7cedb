#include "voice/WaveImage.h"

#include <QtEndian>

namespace {

constexpr qsizetype kChunkHeaderSize = 8;
constexpr qsizetype kFormatChunkMinimum = 16;

bool hasTag(const char* at, const char (&tag)[5]) {
    return at[0] == tag[0] && at[1] == tag[1] && at[2] == tag[2] && at[3] == tag[3];
}

quint16 readUint16(const char* at) {
    return qFromLittleEndian<quint16>(at);
}
quint32 readUint32(const char* at) {
    return qFromLittleEndian<quint32>(at);
}

struct Format {
    int channels, sampleRate, bitsPerSample;
};

std::optional<Format> readFormat(QByteArrayView chunk) {
    if (chunk.size() < kFormatChunkMinimum)
        return std::nullopt;
    const char* at = chunk.data();
    const quint16 formatTag = readUint16(at);
    const quint16 channels = readUint16(at + 2);
    const quint32 sampleRate = readUint32(at + 4);
    const quint16 blockAlign = readUint16(at + 12);
    const quint16 bits = readUint16(at + 14);
    if (formatTag != WaveImage::kPcmFormat || channels == 0 || sampleRate == 0 ||
        sampleRate > 1'000'000)
        return std::nullopt;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return std::nullopt;
    if (blockAlign != channels * (bits / 8))
        return std::nullopt;
    return Format{channels, int(sampleRate), bits};
}

} // namespace

std::optional<WaveImage> WaveImage::parse(QByteArrayView image) {
    if (image.size() < 12 || !hasTag(image.data(), "RIFF") || !hasTag(image.data() + 8, "WAVE"))
        return std::nullopt;
    // The RIFF size counts everything after its own field; an image shorter than it claims is
    // truncated.
    const quint64 riffSize = readUint32(image.data() + 4);
    if (riffSize < 4 || riffSize > quint64(image.size()) - 8)
        return std::nullopt;
    const qsizetype end = qsizetype(riffSize) + 8;

    std::optional<Format> format;
    std::optional<QByteArrayView> data;
    qsizetype at = 12;
    while (end - at >= kChunkHeaderSize) {
        const char* header = image.data() + at;
        const quint64 size = readUint32(header + 4);
        const qsizetype body = at + kChunkHeaderSize;
        if (size > quint64(end - body))
            return std::nullopt;
        const QByteArrayView chunk = image.sliced(body, qsizetype(size));
        if (hasTag(header, "fmt ") && !format) {
            format = readFormat(chunk);
            if (!format)
                return std::nullopt;
        } else if (hasTag(header, "data") && !data) {
            data = chunk;
        }
        // Chunks start on even offsets; a final pad byte may be missing.
        at = body + qsizetype(size) + qsizetype(size & 1);
    }
    if (!format || !data)
        return std::nullopt;

    WaveImage wave;
    wave.channels = format->channels;
    wave.sampleRate = format->sampleRate;
    wave.bitsPerSample = format->bitsPerSample;
    wave.samples = data->first(data->size() - data->size() % wave.bytesPerFrame());
    return wave;
}
