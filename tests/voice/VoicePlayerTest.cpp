// Her voice by name on a recording sound output: which names play, and what a second clip,
// an empty name, a broken clip and a stop do to the one that sounds.
#include "voice/VoicePlayer.h"
#include "stage/AssetCatalogue.h"
#include "support/fakes/FakeSoundOutput.h"
#include "voice/WaveImage.h"

#include <gtest/gtest.h>

namespace {

class VoicePlayerTest : public ::testing::Test {
protected:
    FakeSoundOutput output;
    VoicePlayer player{output};
};

TEST_F(VoicePlayerTest, NamesFindTheirClipWithoutRegardToCaseAndPlayItsBytesInPlace) {
    const QByteArrayView image = AssetCatalogue::clip(QStringLiteral("Snd_Kinenbi2"));
    const auto wave = WaveImage::parse(image);
    ASSERT_TRUE(wave);
    for (const char* name : {"Snd_Kinenbi2", "snd_kinenbi2", "SND_KINENBI2"}) {
        ASSERT_TRUE(player.playVoice(QString::fromLatin1(name))) << name;
        const PcmClip& clip = output.played.back();
        EXPECT_EQ(clip.samples.data(), wave->samples.data()) << name;
        EXPECT_EQ(clip.samples.size(), wave->samples.size()) << name;
        EXPECT_EQ(clip.channels, 1);
        EXPECT_EQ(clip.sampleRate, 22050);
        EXPECT_EQ(clip.bitsPerSample, 16);
        output.finishClip();
    }
}

// What each request does while "Snd_Matsu1" sounds: nothing is interrupted, nothing else plays.
TEST_F(VoicePlayerTest, RequestsWhileAClipSoundsLeaveItAlone) {
    ASSERT_TRUE(player.playVoice(QStringLiteral("Snd_Matsu1")));
    for (const QString& name : {QString(), QStringLiteral("Snd_Matsu2"),
                                QStringLiteral("Snd_Matsu1"), QStringLiteral("Snd_Nothing")}) {
        EXPECT_FALSE(player.playVoice(name)) << name.toStdString();
        EXPECT_TRUE(output.isSounding());
    }
    EXPECT_EQ(output.played.size(), 1u);
    EXPECT_EQ(output.stopCalls, 0);

    // Once it has ended, the next clip plays.
    output.finishClip();
    EXPECT_TRUE(player.playVoice(QStringLiteral("Snd_Matsu2")));
}

TEST_F(VoicePlayerTest, NothingPlayableStartsNothing) {
    EXPECT_FALSE(player.playVoice(QString()));
    EXPECT_FALSE(player.playVoice(QStringLiteral("Snd_Nothing")));
    EXPECT_FALSE(player.playVoice(QStringLiteral("SND_JIKAN")));
    output.deviceAvailable = false;
    EXPECT_FALSE(player.playVoice(QStringLiteral("Snd_Jikan1")));
    EXPECT_TRUE(output.played.empty());
    EXPECT_EQ(output.stopCalls, 0);
}

TEST_F(VoicePlayerTest, ABrokenClipIsSilent) {
    static const QByteArray truncated =
        AssetCatalogue::clip(QStringLiteral("Snd_Jikan1")).first(30).toByteArray();
    static const QByteArray notWave("RIFF\x04\x00\x00\x00AVI ", 12);
    for (const QByteArray* image : {&truncated, &notWave}) {
        VoicePlayer broken(output, [image](const QString&) { return QByteArrayView(*image); });
        EXPECT_FALSE(broken.playVoice(QStringLiteral("Snd_Jikan1")));
    }
    EXPECT_TRUE(output.played.empty());
}

TEST_F(VoicePlayerTest, StopCutsTheClipOffAndIsHarmlessWhenNothingSounds) {
    player.stopVoice();
    EXPECT_FALSE(output.isSounding());
    ASSERT_TRUE(player.playVoice(QStringLiteral("Snd_Jikan3")));
    player.stopVoice();
    EXPECT_FALSE(output.isSounding());
    EXPECT_TRUE(player.playVoice(QStringLiteral("Snd_Jikan4")));
}

} // namespace
