#pragma once

#include <QByteArrayView>
#include <optional>

// A RIFF/WAVE image of PCM samples, read in place: samples points into the parsed bytes and is
// valid as long as they are.
class WaveImage {
public:
    static constexpr quint16 kPcmFormat = 1;

    // The image's format and samples, or none when it is not a well-formed PCM image. Never
    // reads outside image.
    static std::optional<WaveImage> parse(QByteArrayView image);

    int bytesPerFrame() const { return channels * bitsPerSample / 8; }
    qsizetype frameCount() const {
        return bytesPerFrame() > 0 ? samples.size() / bytesPerFrame() : 0;
    }
    double durationSeconds() const {
        return sampleRate > 0 ? double(frameCount()) / sampleRate : 0;
    }

    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    // Whole frames only: a partial frame at the end of the data is left out.
    QByteArrayView samples;
};
