// Two schedules of one minute through the real program, its clock started a few seconds
// before that minute and its voice going to a private sound server: her balloon appears
// beside her and her clip sounds, the balloon closes at its button, the second follows
// within 5 s and closes by itself after 30 s, and the close stores the minute as lastYotei.
#include "app/SettingsStore.h"
#include "platform/HiveRegistry.h"
#include "shared/TimeKey.h"
#include "support/fixtures/BalloonControls.h"
#include "support/fixtures/QtPrinters.h"
#include "support/harness/PulseSession.h"
#include "support/harness/XSession.h"
#include "voice/BalloonGeometry.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

const QString kBalloon = QStringLiteral("MessageBalloon");
const QPoint kHerPlace(100, 100);

class Announcement : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(session.ok()) << "Xvfb did not start";
        ASSERT_TRUE(config.isValid());
        ASSERT_TRUE(pulse.start()) << "the sound server did not start";
        ASSERT_TRUE(pulse.startRecording());
    }

    QString hivePath() const { return config.path() + QStringLiteral("/hourling/user.reg"); }
    bool balloonShows() const {
        return !session.xdotool({"search", "--onlyvisible", "--name", "^MessageBalloon$"})
                    .isEmpty();
    }
    // Waits until the balloon shows or hides, and says how long that took.
    qint64 waitForBalloon(bool shown, int timeoutMs) const {
        QElapsedTimer timer;
        timer.start();
        return eventually([&] { return balloonShows() == shown; }, timeoutMs, 50) ? timer.elapsed()
                                                                                  : -1;
    }
    // Her settings stored, and she started at that moment, her voice going to the sound server.
    std::unique_ptr<ProgramRun> startWith(const StageSettings& settings, const char* moment) {
        {
            HiveRegistry registry(hivePath());
            EXPECT_TRUE(saveSettings(registry, settings, kHerPlace));
        }
        auto program = std::make_unique<ProgramRun>(
            session, config.path(),
            fixedClockEnvironment(QString::fromLatin1(moment)) +
                QStringList{QStringLiteral("PULSE_SERVER=") + pulse.address()});
        EXPECT_TRUE(program->start());
        return program;
    }
    SoundSpan soundSince(double seconds) const {
        return findSound(pulse.recording(), PulseSession::kRecordRate, seconds);
    }

    XSession session;
    PulseSession pulse;
    QTemporaryDir config;
};

TEST_F(Announcement, TwoSchedulesOfOneMinuteSpeakOneAfterTheOtherBesideHer) {
    StageSettings settings;
    settings.FormLeft = kHerPlace.x();
    settings.FormTop = kHerPlace.y();
    for (int slot : {0, 1}) {
        EventSlot& schedule = settings.schedules[slot];
        schedule.used = true;
        schedule.hour = 8;
        schedule.minute = 30;
        schedule.clip = slot == 0 ? QStringLiteral("Snd_Jikan1") : QStringLiteral("Snd_Jikan3");
        schedule.message = QStringLiteral("予定 %1\n二行目").arg(slot + 1);
    }
    const auto program = startWith(settings, "2026-03-15 08:29:55");
    const auto her = session.waitForWindowByClass(QStringLiteral("hourling"));
    ASSERT_TRUE(her.has_value()) << program->report();
    ASSERT_TRUE(eventually([&] { return session.windowGeometry(*her).topLeft() == kHerPlace; }));

    ASSERT_GE(waitForBalloon(true, 60'000), 0) << "no balloon: " << program->report();
    const qulonglong first = session.waitForWindowByName(kBalloon).value_or(0);
    session.screenshot().save(artifactPath(QStringLiteral("announcement-first.png")));
    const QSize herSize(208, 452);
    const int corner = balloonCorner(kHerPlace, herSize, QRect(0, 0, 1024, 768));
    const QPoint beside =
        placeBalloon(corner, kHerPlace, QRect(40, 108, 81, 37), {240, 160}, QRect(35, 48, 169, 65))
            .position;
    EXPECT_EQ(session.windowGeometry(first), QRect(beside, QSize(240, 160)));
    EXPECT_TRUE(eventually([&] { return soundSince(0).heard; }, 10'000)) << "no clip sounded";

    // Her balloon's button closes it; the second of the minute comes at the next tick.
    const QPoint button = beside + kBalloonButtonCentre;
    session.xdotool({"mousemove", QString::number(button.x()), QString::number(button.y())});
    session.xdotool({"click", "1"});
    ASSERT_GE(waitForBalloon(false, 10'000), 0) << "the button did not close it";
    const qint64 gap = waitForBalloon(true, 15'000);
    const double secondAt = pulse.recordedSeconds();
    EXPECT_GE(gap, 0) << "no second balloon";
    EXPECT_LE(gap, 7'000) << "a tick comes every 5 s";
    session.screenshot().save(artifactPath(QStringLiteral("announcement-second.png")));
    EXPECT_TRUE(eventually([&] { return soundSince(secondAt - 0.5).heard; }, 10'000))
        << "the second clip did not sound";

    const qint64 shown = waitForBalloon(false, 60'000);
    EXPECT_GE(shown, 28'000) << "closed early";
    EXPECT_LE(shown, 40'000) << "it closes after 30 s";

    program->sendSignal(SIGTERM);
    ASSERT_TRUE(program->waitForExit());
    HiveRegistry registry(hivePath());
    ASSERT_TRUE(registry.openKey(kProgramKey, false));
    EXPECT_EQ(registry.readDword(QStringLiteral("lastYotei")),
              std::optional<quint32>(timeKey(3, 15, 8, 30)));
    registry.closeKey();
}

// Quiet: the balloon as ever, and nothing reaches the sound server.
TEST_F(Announcement, QuietSheShowsHerBalloonAndSaysNothing) {
    StageSettings settings;
    settings.Quiet = true;
    settings.schedules[0].used = true;
    settings.schedules[0].hour = 8;
    settings.schedules[0].minute = 30;
    settings.schedules[0].clip = QStringLiteral("Snd_Jikan1");
    const auto program = startWith(settings, "2026-03-15 08:29:57");
    ASSERT_GE(waitForBalloon(true, 60'000), 0) << "no balloon: " << program->report();
    const double shownAt = pulse.recordedSeconds();
    // Longer than the clip, and than the recording lags behind.
    EXPECT_FALSE(eventually([&] { return soundSince(0).heard; }, 5'000));
    EXPECT_GT(pulse.recordedSeconds(), shownAt + 3) << "the recording stopped";
    program->sendSignal(SIGTERM);
    ASSERT_TRUE(program->waitForExit());
}

} // namespace
