// Her wall clock changed under the real program: moved a day on and an hour back while she
// runs, and a start in another time zone than the last. Her title follows the clock, her
// schedules and anniversaries follow the rules of a clock that moved, and what she stores
// stays whole.
#include "shared/TimeKey.h"
#include "support/fixtures/EventSlotBuilder.h"
#include "support/harness/MovableClock.h"
#include "support/harness/Polling.h"
#include "support/harness/ProgramFixture.h"

#include <gtest/gtest.h>

namespace {

const QPoint kHerPlace(100, 100);

QDateTime utc(int month, int day, int hour, int minute, int second) {
    return QDateTime(QDate(2026, month, day), QTime(hour, minute, second), Qt::UTC);
}

class ClockFaults : public ProgramFixture {
protected:
    bool titleContains(qulonglong her, const QString& text, int timeoutMs = 30000) {
        return eventually([&] { return session.windowName(her).contains(text); }, timeoutMs);
    }
    // Waits for a balloon and closes it.
    bool balloonComesAndGoes(int timeoutMs) {
        if (!eventually([&] { return balloonShows(); }, timeoutMs))
            return false;
        closeBalloon();
        return eventually([&] { return !balloonShows(); }, 10000);
    }
};

TEST_F(ClockFaults, ADayOnAndAnHourBackWhileSheRuns) {
    StageSettings settings;
    settings.FormLeft = kHerPlace.x();
    settings.FormTop = kHerPlace.y();
    settings.lastYotei = timeKey(3, 15, 8, 0);
    settings.schedules[0] = eventSlot(true, 0, 0, 7, 35, QStringLiteral("Snd_Jikan2"));
    EventSlot& sixteenth = settings.anniversaries[0];
    sixteenth.used = true;
    sixteenth.day = 16;
    store(settings);
    MovableClock clock(utc(3, 15, 8, 29, 45));
    ASSERT_TRUE(clock.ok());
    auto program = launch(clock.environment() + QStringList{QStringLiteral("TZ=UTC0")});
    const auto her = waitForHer(*program, kHerPlace);
    ASSERT_TRUE(her);
    ASSERT_TRUE(titleContains(*her, QStringLiteral("3月15日")))
        << session.windowName(*her).toStdString();
    EXPECT_FALSE(balloonShows());

    // A day on: the anniversary of the new day, then today's schedule that the jump passed.
    ASSERT_TRUE(clock.moveBy(24 * 3600));
    EXPECT_TRUE(balloonComesAndGoes(30000)) << "no anniversary: " << program->report();
    EXPECT_TRUE(balloonComesAndGoes(30000)) << "the passed schedule was not caught up";
    EXPECT_TRUE(titleContains(*her, QStringLiteral("3月16日")))
        << session.windowName(*her).toStdString();

    // An hour back, to just before the schedule's minute: it comes again at that minute.
    ASSERT_TRUE(clock.setNow(utc(3, 16, 7, 34, 55)));
    EXPECT_TRUE(balloonComesAndGoes(30000))
        << "the schedule's minute came again unannounced; title "
        << session.windowName(*her).toStdString() << "; " << program->report();
    EXPECT_TRUE(titleContains(*her, QStringLiteral("7時3")))
        << session.windowName(*her).toStdString();
    closeBySignal(*program);

    ASSERT_TRUE(stored());
    EXPECT_EQ(stored()->lastYotei, timeKey(3, 16, 7, 35));
    EXPECT_EQ(stored()->schedules, settings.schedules);
    EXPECT_EQ(stored()->anniversaries, settings.anniversaries);
}

// Her times are local: a start in a zone nine hours east catches up the schedule that fell
// in the hours the move skipped, and her title tells the new zone's date.
TEST_F(ClockFaults, AStartInAnotherTimeZoneGoesByThatZonesClock) {
    StageSettings settings;
    settings.FormLeft = kHerPlace.x();
    settings.FormTop = kHerPlace.y();
    settings.lastYotei = timeKey(3, 15, 23, 0);
    settings.schedules[0] = eventSlot(true, 0, 0, 23, 30, QStringLiteral("Snd_Jikan2"));
    settings.schedules[1] = eventSlot(true, 0, 0, 3, 0, QStringLiteral("Snd_Jikan2"));
    store(settings);
    MovableClock clock(utc(3, 15, 23, 29, 52));
    ASSERT_TRUE(clock.ok());

    auto program = launch(clock.environment() + QStringList{QStringLiteral("TZ=UTC0")});
    auto her = waitForHer(*program, kHerPlace);
    ASSERT_TRUE(her);
    EXPECT_TRUE(balloonComesAndGoes(30000)) << "no schedule at 23:30: " << program->report();
    EXPECT_TRUE(titleContains(*her, QStringLiteral("3月15日")));
    closeBySignal(*program);
    ASSERT_TRUE(stored());
    EXPECT_EQ(stored()->lastYotei, timeKey(3, 15, 23, 30));

    program = launch(clock.environment() + QStringList{QStringLiteral("TZ=JST-9")});
    her = waitForHer(*program, kHerPlace);
    ASSERT_TRUE(her);
    EXPECT_TRUE(balloonComesAndGoes(30000)) << "03:00 was not caught up: " << program->report();
    EXPECT_TRUE(titleContains(*her, QStringLiteral("3月16日")))
        << session.windowName(*her).toStdString();
    closeBySignal(*program);
    ASSERT_TRUE(stored());
    // The minute of the check that caught it up, early in the morning of the 16th there.
    EXPECT_GE(stored()->lastYotei, timeKey(3, 16, 8, 30));
    EXPECT_LE(stored()->lastYotei, timeKey(3, 16, 8, 33));
    EXPECT_EQ(stored()->schedules, settings.schedules);
}

} // namespace
