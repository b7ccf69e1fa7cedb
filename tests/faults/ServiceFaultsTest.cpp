// The services she runs on failing under the real program: no sound server at all, a sound
// server that dies in the middle of her clip, and the X server going away. She keeps
// working, or ends at once, and her settings are never damaged.
#include "shared/TimeKey.h"
#include "support/harness/Polling.h"
#include "support/harness/ProgramFixture.h"
#include "support/harness/PulseSession.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

const QPoint kHerPlace(100, 100);

// Her place and a schedule every day at 08:30, with nothing announced yet today.
StageSettings withDailySchedule(int slot, int minute, const QString& clip) {
    StageSettings settings;
    settings.FormLeft = kHerPlace.x();
    settings.FormTop = kHerPlace.y();
    settings.lastYotei = timeKey(3, 15, 8, 0);
    EventSlot& schedule = settings.schedules[slot];
    schedule.used = true;
    schedule.hour = 8;
    schedule.minute = minute;
    schedule.clip = clip;
    schedule.message = QStringLiteral("予定 %1").arg(slot + 1);
    return settings;
}

using ServiceFaults = ProgramFixture;

TEST_F(ServiceFaults, WithNoSoundServerSheStillAnnouncesInHerBalloon) {
    store(withDailySchedule(0, 30, QStringLiteral("Snd_Jikan1")));
    PulseSession none; // never started: nothing answers at its address
    QElapsedTimer started;
    started.start();
    auto program = launch(fixedClockEnvironment(QStringLiteral("2026-03-15 08:29:57")) +
                          QStringList{QStringLiteral("PULSE_SERVER=") + none.address()});
    ASSERT_TRUE(waitForHer(*program, kHerPlace));
    ASSERT_TRUE(eventually([&] { return balloonShows(); }, 60000))
        << "no balloon: " << program->report();
    closeBalloon();
    EXPECT_TRUE(eventually([&] { return !balloonShows(); }, 10000));
    closeBySignal(*program);
    ASSERT_TRUE(stored());
    EXPECT_EQ(stored()->lastYotei, timeKey(3, 15, 8, 30));
}

TEST_F(ServiceFaults, ASoundServerThatDiesMidClipIsUsedAgainOnceItIsBack) {
    PulseSession pulse;
    ASSERT_TRUE(pulse.start());
    ASSERT_TRUE(pulse.startRecording());
    // The first is due at start, the second ten seconds later.
    StageSettings settings = withDailySchedule(0, 30, QStringLiteral("Snd_Kinenbi3"));
    settings.schedules[1] = withDailySchedule(1, 31, QStringLiteral("Snd_Jikan1")).schedules[1];
    store(settings);
    auto program = launch(fixedClockEnvironment(QStringLiteral("2026-03-15 08:30:50")) +
                          QStringList{QStringLiteral("PULSE_SERVER=") + pulse.address()});
    ASSERT_TRUE(waitForHer(*program, kHerPlace));
    ASSERT_TRUE(eventually([&] { return balloonShows(); }, 30000)) << program->report();
    ASSERT_TRUE(eventually(
        [&] { return findSound(pulse.recording(), PulseSession::kRecordRate).heard; }, 10000))
        << "her first clip did not sound";
    pulse.kill();

    // She goes on: the balloon closes at its key, and the server is back before the next.
    EXPECT_TRUE(balloonShows());
    closeBalloon();
    ASSERT_TRUE(eventually([&] { return !balloonShows(); }, 10000)) << program->report();
    ASSERT_TRUE(pulse.start());
    ASSERT_TRUE(pulse.startRecording());
    ASSERT_TRUE(eventually([&] { return balloonShows(); }, 30000))
        << "no second balloon: " << program->report();
    EXPECT_TRUE(eventually(
        [&] { return findSound(pulse.recording(), PulseSession::kRecordRate).heard; }, 10000))
        << "her second clip did not reach the server that came back";
    closeBySignal(*program);
    ASSERT_TRUE(stored());
    EXPECT_EQ(stored()->lastYotei, timeKey(3, 15, 8, 31));
}

TEST_F(ServiceFaults, WhenTheXServerGoesAwaySheEndsAndSavesWhereSheStood) {
    const StageSettings settings = distinctSettings();
    store(settings);
    auto program = launch();
    const auto her = waitForHer(*program, {settings.FormLeft, settings.FormTop});
    ASSERT_TRUE(her);
    dragHer(session, *her, {300, 200});

    session.killServer();
    ASSERT_TRUE(program->waitForExit(30000)) << "she hangs without a display";
    EXPECT_FALSE(program->crashed()) << program->report();
    StageSettings expected = settings;
    expected.FormLeft = 300;
    expected.FormTop = 200;
    ASSERT_TRUE(stored()) << "the file was damaged";
    EXPECT_EQ(stored()->schedules, expected.schedules);
    EXPECT_EQ(stored()->anniversaries, expected.anniversaries);
    EXPECT_EQ(QPoint(stored()->FormLeft, stored()->FormTop), QPoint(300, 200));
    EXPECT_EQ(stored()->samiLim, expected.samiLim);
    EXPECT_EQ(stored()->ThreadPrio, expected.ThreadPrio);
}

} // namespace
