#pragma once

#include <QByteArrayView>

// The samples of one PCM clip and how they are laid out. The bytes belong to the caller and
// must stay valid for the program's lifetime; players read them in place.
struct PcmClip {
    int channels = 0;
    int sampleRate = 0;
    // 8 (unsigned), 16, 24 or 32 (signed, little-endian).
    int bitsPerSample = 0;
    QByteArrayView samples;

    double durationSeconds() const {
        const int frameBytes = channels * bitsPerSample / 8;
        return frameBytes > 0 && sampleRate > 0 ? double(samples.size() / frameBytes) / sampleRate
                                                : 0;
    }
};

// One clip at a time on the desktop's sound output. Every call returns at once, whatever
// the sound server does.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Starts the clip in the background. False, and nothing changes, while a clip of ours
    // still sounds; false and silent when the clip cannot be played.
    virtual bool play(const PcmClip& clip) = 0;
    // Cuts the sounding clip off; nothing when none sounds.
    virtual void stop() = 0;
    virtual bool isSounding() const = 0;
};
