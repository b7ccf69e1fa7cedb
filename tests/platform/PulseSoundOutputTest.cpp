// Her voice on a real sound server that the test starts, records, kills, restarts and
// freezes: what sounds, for how long, and that nothing waits on a server that is not there.
#include "platform/PulseSoundOutput.h"
#include "stage/AssetCatalogue.h"
#include "support/harness/PulseSession.h"
#include "support/harness/XSession.h"
#include "voice/VoicePlayer.h"
#include "voice/WaveImage.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// Far more than any call may take; a hang shows up as this and more.
constexpr qint64 kPromptMs = 1000;

// The loudness of the 10 ms of a recording that start at the given second.
double rmsOfFrame(const QByteArray& recording, double seconds) {
    const int frame = PulseSession::kRecordRate / 100;
    const int first = int(seconds * PulseSession::kRecordRate);
    double sum = 0;
    for (int i = first; i < first + frame && 2 * i + 1 < recording.size(); ++i) {
        const double sample = qFromLittleEndian<qint16>(recording.constData() + 2 * i) / 32768.0;
        sum += sample * sample;
    }
    return std::sqrt(sum / frame);
}

double clipLength(const char* name) {
    const auto wave = WaveImage::parse(AssetCatalogue::clip(QString::fromLatin1(name)));
    return wave ? findSound(wave->samples, wave->sampleRate).length() : 0;
}

class PulseSoundOutputTest : public ::testing::Test {
protected:
    void SetUp() override { session.useInThisProcess(); }

    void startServerAndRecord() {
        ASSERT_TRUE(session.start()) << "pulseaudio did not start";
        ASSERT_TRUE(session.startRecording()) << "parec did not record";
    }
    // Waits for the clip to end, then for its last sound to reach the recording.
    SoundSpan recordedUntilSilent() {
        EXPECT_TRUE(eventually([&] { return !output->isSounding(); }, 20000));
        QThread::msleep(400);
        return findSound(session.recording(), PulseSession::kRecordRate);
    }

    PulseSession session;
    std::unique_ptr<PulseSoundOutput> output = std::make_unique<PulseSoundOutput>();
    VoicePlayer player{*output};
};

TEST_F(PulseSoundOutputTest, AClipSoundsForItsLengthAndThenEnds) {
    startServerAndRecord();
    ASSERT_TRUE(player.playVoice(QStringLiteral("Snd_Kinenbi1")));
    EXPECT_TRUE(output->isSounding());
    const SoundSpan heard = recordedUntilSilent();
    ASSERT_TRUE(heard.heard);
    EXPECT_NEAR(heard.length(), clipLength("Snd_Kinenbi1"), 0.15);
}

TEST_F(PulseSoundOutputTest, AClipShorterThanTheServersBufferPlaysToItsEnd) {
    startServerAndRecord();
    // 60 ms of a loud square wave, then 60 ms of a soft one.
    static const QByteArray tone = [] {
        QByteArray samples(2 * 2646, '\0');
        for (int i = 0; i < 2646; ++i) {
            const int level = i < 1323 ? 12000 : 2000;
            qToLittleEndian<qint16>(qint16((i / 25) % 2 ? level : -level), samples.data() + 2 * i);
        }
        return samples;
    }();
    ASSERT_TRUE(output->play(PcmClip{1, 22050, 16, tone}));
    const SoundSpan heard = recordedUntilSilent();
    ASSERT_TRUE(heard.heard);
    // A null sink's monitor may miss up to 50 ms where a stream starts (the sink mixes anew
    // what it had rendered ahead), but the soft end must be there.
    EXPECT_GT(heard.length(), 0.06);
    EXPECT_LT(heard.length(), 0.14);
    // The last whole frame: the last one may hold only a little of it.
    const double end = rmsOfFrame(session.recording(), heard.endSeconds - 0.02);
    EXPECT_GT(end, 0.03);
    EXPECT_LT(end, 0.1);
}

TEST_F(PulseSoundOutputTest, ASecondClipWhileOneSoundsAddsNothing) {
    startServerAndRecord();
    ASSERT_TRUE(player.playVoice(QStringLiteral("Snd_Jikan3")));
    EXPECT_FALSE(player.playVoice(QStringLiteral("Snd_Kinenbi3")));
    const SoundSpan heard = recordedUntilSilent();
    ASSERT_TRUE(heard.heard);
    EXPECT_NEAR(heard.length(), clipLength("Snd_Jikan3"), 0.15);
    // Afterwards the next one plays.
    EXPECT_TRUE(player.playVoice(QStringLiteral("Snd_Jikan4")));
}

TEST_F(PulseSoundOutputTest, StopEndsTheSoundAtOnce) {
    startServerAndRecord();
    ASSERT_TRUE(player.playVoice(QStringLiteral("Snd_Kinenbi3")));
    ASSERT_TRUE(eventually(
        [&] { return findSound(session.recording(), PulseSession::kRecordRate).heard; }, 10000));
    const double stoppedAt = session.recordedSeconds();
    player.stopVoice();
    EXPECT_FALSE(output->isSounding());
    QThread::msleep(1000);
    const QByteArray recording = session.recording();
    EXPECT_FALSE(findSound(recording, PulseSession::kRecordRate, stoppedAt + 0.25).heard);
    EXPECT_LT(findSound(recording, PulseSession::kRecordRate).length(),
              clipLength("Snd_Kinenbi3") - 1.0);
}

TEST_F(PulseSoundOutputTest, WithNoServerAtAllNothingWaitsAndNothingStarts) {
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(player.playVoice(QStringLiteral("Snd_Jikan1")));
    EXPECT_FALSE(output->isSounding());
    player.stopVoice();
    output.reset();
    EXPECT_LT(timer.elapsed(), kPromptMs);
}

TEST_F(PulseSoundOutputTest, AServerStartedAfterTheProgramIsUsedAtTheNextClip) {
    EXPECT_FALSE(player.playVoice(QStringLiteral("Snd_Jikan1")));
    startServerAndRecord();
    ASSERT_TRUE(player.playVoice(QStringLiteral("Snd_Jikan1")));
    const SoundSpan heard = recordedUntilSilent();
    ASSERT_TRUE(heard.heard);
    EXPECT_NEAR(heard.length(), clipLength("Snd_Jikan1"), 0.15);
}

TEST_F(PulseSoundOutputTest, AServerKilledMidClipAndRestartedIsUsedAtTheNextClip) {
    startServerAndRecord();
    ASSERT_TRUE(player.playVoice(QStringLiteral("Snd_Kinenbi3")));
    ASSERT_TRUE(eventually(
        [&] { return findSound(session.recording(), PulseSession::kRecordRate).heard; }, 10000));
    session.kill();
    // The clip died with the server, and while it is away nothing plays.
    EXPECT_TRUE(eventually([&] { return !output->isSounding(); }, 10000));
    EXPECT_FALSE(player.playVoice(QStringLiteral("Snd_Jikan2")));

    startServerAndRecord();
    ASSERT_TRUE(player.playVoice(QStringLiteral("Snd_Jikan2")));
    const SoundSpan heard = recordedUntilSilent();
    ASSERT_TRUE(heard.heard);
    EXPECT_NEAR(heard.length(), clipLength("Snd_Jikan2"), 0.15);
}

TEST_F(PulseSoundOutputTest, AServerThatStopsAnsweringHoldsNothingUp) {
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(player.playVoice(QStringLiteral("Snd_Matsu2")));
    session.pause();
    QElapsedTimer timer;
    timer.start();
    player.stopVoice();
    player.playVoice(QStringLiteral("Snd_Matsu1"));
    // A fresh connection to the frozen server, too.
    auto fresh = std::make_unique<PulseSoundOutput>();
    VoicePlayer(*fresh).playVoice(QStringLiteral("Snd_Matsu1"));
    fresh.reset();
    output.reset();
    EXPECT_LT(timer.elapsed(), kPromptMs);
    session.resume();
}

} // namespace
