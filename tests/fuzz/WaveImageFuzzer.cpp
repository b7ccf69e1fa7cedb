// Any bytes as a voice clip: what parses is plain PCM whose samples lie inside the bytes, in
// whole frames.
#include "FuzzCheck.h"
#include "voice/WaveImage.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView image(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<WaveImage> wave = WaveImage::parse(image);
    if (!wave)
        return 0;

    fuzzCheck(wave->channels > 0 && wave->sampleRate > 0, "a format with channels and a rate");
    fuzzCheck(wave->bitsPerSample % 8 == 0 && wave->bitsPerSample > 0 && wave->bitsPerSample <= 32,
              "whole bytes per sample");
    const char* begin = wave->samples.data();
    fuzzCheck(begin >= image.data() && begin + wave->samples.size() <= image.data() + image.size(),
              "the samples lie inside the image");
    fuzzCheck(wave->samples.size() % wave->bytesPerFrame() == 0, "the samples are whole frames");
    fuzzCheck(std::isfinite(wave->durationSeconds()) && wave->durationSeconds() >= 0,
              "a duration that can be shown");
    return 0;
}
