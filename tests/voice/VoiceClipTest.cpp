#include "stage/AssetCatalogue.h"
#include "voice/WaveImage.h"

#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>

// Every clip is mono 22,050 Hz 16-bit PCM, 0.5 to 3 seconds of audible speech, never clipped.
TEST(VoiceClip, everyClipIsShortClearSpeech) {
    for (const QString& name : AssetCatalogue::clipNames()) {
        const auto wave = WaveImage::parse(AssetCatalogue::clip(name));
        ASSERT_TRUE(wave) << name.toStdString();
        EXPECT_EQ(wave->channels, 1) << name.toStdString();
        EXPECT_EQ(wave->sampleRate, 22050) << name.toStdString();
        EXPECT_EQ(wave->bitsPerSample, 16) << name.toStdString();
        EXPECT_GE(wave->durationSeconds(), 0.5) << name.toStdString();
        EXPECT_LE(wave->durationSeconds(), 3.0) << name.toStdString();

        double sumOfSquares = 0;
        int peak = 0;
        for (qsizetype i = 0; i < wave->frameCount(); ++i) {
            const int sample = qFromLittleEndian<qint16>(wave->samples.data() + 2 * i);
            sumOfSquares += double(sample) * sample;
            peak = std::max(peak, std::abs(sample));
        }
        const double rms = std::sqrt(sumOfSquares / double(wave->frameCount())) / 32768;
        EXPECT_GT(rms, 0.05) << name.toStdString();
        EXPECT_LT(peak, 32767 * 0.99) << name.toStdString();
        // Trimmed: the first and last 20 ms are quiet.
        EXPECT_LT(std::abs(qFromLittleEndian<qint16>(wave->samples.data())), 1000)
            << name.toStdString();
    }
}
