// Her loneliness in the running program, on a private X server and a private sound server:
// left alone she calls with tears, a minute later she cries aloud, and a press on her
// comforts her. Her head on screen is compared with the program's own pictures, and the
// sound server's recording with her clips.
#include "app/SettingsStore.h"
#include "platform/HiveRegistry.h"
#include "stage/AssetCatalogue.h"
#include "support/harness/HerOnScreen.h"
#include "support/harness/PulseSession.h"
#include "support/harness/XSession.h"
#include "voice/WaveImage.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

const QRect kFaceFrame(15, 9, 128, 128);
const QPoint kStageAt(100, 50);

double clipSeconds(const char* name) {
    const auto wave = WaveImage::parse(AssetCatalogue::clip(QLatin1String(name)));
    return wave ? wave->durationSeconds() : 0;
}

TEST(LonelinessOnScreen, SheCallsWithTearsCriesAMinuteLaterAndAPressComfortsHer) {
    const HeadOnScreen head;
    ASSERT_TRUE(head.ok()) << "the program carries no outline";
    XSession session(640, 560);
    ASSERT_TRUE(session.ok()) << "Xvfb did not start";
    PulseSession pulse;
    ASSERT_TRUE(pulse.start()) << "the sound server did not start";
    QTemporaryDir config;
    {
        StageSettings settings;
        settings.samiLim = 3;
        settings.FormLeft = kStageAt.x();
        settings.FormTop = kStageAt.y();
        HiveRegistry registry(config.path() + QStringLiteral("/hourling/user.reg"));
        ASSERT_TRUE(saveSettings(registry, settings, kStageAt));
    }
    ASSERT_TRUE(pulse.startRecording());
    QElapsedTimer recorded;
    recorded.start();
    // A clock that reaches the minute's end while she calls, so that no chance smile can
    // come before her first call.
    ProgramRun program(session, config.path(),
                       fixedClockEnvironment(QStringLiteral("2026-03-15 08:29:10"))
                           << QStringLiteral("PULSE_SERVER=") + pulse.address());
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(session.waitForWindowByClass(QStringLiteral("hourling")).has_value())
        << program.report();

    QImage screen;
    auto shows = [&](int face) {
        screen = session.screenshot();
        return head.face(screen, kStageAt) == face;
    };
    ASSERT_TRUE(eventually([&] { return shows(2); }, 30000)) << "no tears; " << program.report();
    const double tearsAt = recorded.elapsed() / 1000.0;
    screen.save(artifactPath(QStringLiteral("loneliness-face2.png")));
    ASSERT_TRUE(eventually([&] { return shows(3); }, 90000)) << "no crying; " << program.report();
    const double cryingAt = recorded.elapsed() / 1000.0;
    screen.save(artifactPath(QStringLiteral("loneliness-face3.png")));

    const QPoint onHead = kStageAt + kFaceFrame.center();
    session.xdotool({"mousemove", QString::number(onHead.x()), QString::number(onHead.y())});
    session.xdotool({"click", "1"});
    EXPECT_TRUE(eventually([&] { return shows(0); }, 20000))
        << "still " << head.face(screen, kStageAt);
    // The press does not silence her: the recording goes on until the second clip has ended.
    const double secondClipEnds = cryingAt + clipSeconds("Snd_Matsu2") + 1;
    EXPECT_TRUE(eventually([&] { return pulse.recordedSeconds() > secondClipEnds; }, 20000));
    pulse.stopRecording();

    const QByteArray recording = pulse.recording();
    constexpr int kRate = PulseSession::kRecordRate;
    const SoundSpan first = findSound(recording, kRate);
    ASSERT_TRUE(first.heard) << "she never called";
    // Each clip alone: the first call up to well before the second.
    const qsizetype firstEnds = qsizetype((first.firstSeconds + 20) * kRate) * 2;
    const SoundSpan matsu1 =
        findSound(QByteArrayView(recording).first(std::min(firstEnds, recording.size())), kRate);
    const SoundSpan matsu2 = findSound(recording, kRate, first.firstSeconds + 20);
    ASSERT_TRUE(matsu2.heard) << "she called only once";
    EXPECT_NEAR(matsu1.length(), clipSeconds("Snd_Matsu1"), 0.2);
    EXPECT_NEAR(matsu2.length(), clipSeconds("Snd_Matsu2"), 0.2);
    EXPECT_NEAR(matsu2.firstSeconds - matsu1.firstSeconds, 60, 1);
    // Each face came with its clip: the clip starts first, the face straight after it.
    EXPECT_GT(tearsAt, matsu1.firstSeconds - 1);
    EXPECT_LT(tearsAt, matsu1.firstSeconds + 5);
    EXPECT_GT(cryingAt, matsu2.firstSeconds - 1);
    EXPECT_LT(cryingAt, matsu2.firstSeconds + 5);

    program.sendSignal(SIGTERM);
    EXPECT_TRUE(program.waitForExit());
}

} // namespace
