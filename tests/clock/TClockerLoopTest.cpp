#include "clock/TClocker.h"
#include "support/fakes/FakeWallClock.h"
#include "support/fakes/FakeSecondWaiter.h"
#include "support/fakes/FakeClockHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

// Runs the loop over a script of clock readings: the first is read at the start, each
// further one after a wait.
struct LoopRun {
    FakeWallClock clock;
    ScriptedWaiter waiter{clock};
    RecordingHost host;
    TClocker clocker{host, clock, waiter, QLocale(QLocale::Japanese, QLocale::Japan)};

    LoopRun& start(const LocalTime& t) {
        clock.set(t);
        return *this;
    }
    LoopRun& then(const LocalTime& t) {
        waiter.then(t);
        return *this;
    }
    // Consecutive seconds of one day, from h:m:s on.
    LoopRun& seconds(int month, int day, int hour, int minute, int second, int count) {
        for (int k = 0; k < count; ++k) {
            then(timeOf(month, day, hour, minute, second));
            if (++second == 60) {
                second = 0;
                if (++minute == 60) {
                    minute = 0;
                    hour = (hour + 1) % 24;
                }
            }
        }
        return *this;
    }
    RecordingHost& run() {
        clocker.execute();
        return host;
    }
};

} // namespace

TEST(TClockerLoop, StartsWithTheCurrentMinuteThenShowsEachSecond) {
    LoopRun loop;
    loop.start(timeOf(3, 15, 8, 29, 57)).then(timeOf(3, 15, 8, 29, 58));
    EXPECT_THAT(loop.run().calls(), ElementsAre("compose 8:29", "kinenbi 3/15", "yotei 3/15 8:29",
                                                "show 57", "show 58"));
    EXPECT_EQ(loop.clocker.lastSecond, 58);
    EXPECT_EQ(loop.clocker.lastHour, 8);
}

TEST(TClockerLoop, SecondFiftyNineRebuildsForTheComingMinute) {
    LoopRun loop;
    loop.start(timeOf(3, 15, 8, 29, 58)).seconds(3, 15, 8, 29, 59, 3);
    EXPECT_THAT(loop.run().calls(),
                ElementsAre("compose 8:29", "kinenbi 3/15", "yotei 3/15 8:29", "show 58", "show 59",
                            "compose 8:30", "show 0", "yotei 3/15 8:30", "show 1",
                            "title ミオラ 「3月15日です」"));
}

TEST(TClockerLoop, MidnightWrapsTheRebuildToZeroHundred) {
    LoopRun loop;
    loop.start(timeOf(3, 15, 23, 59, 58))
        .then(timeOf(3, 15, 23, 59, 59))
        .then(timeOf(3, 16, 0, 0, 0));
    const auto calls = loop.run().calls();
    EXPECT_THAT(loop.host.calls("compose"), ElementsAre("compose 23:59", "compose 0:0"));
    // The checks get the time actually read, never the minute made ahead.
    EXPECT_THAT(loop.host.calls("yotei"), ElementsAre("yotei 3/15 23:59", "yotei 3/16 0:0"));
    EXPECT_THAT(loop.host.calls("kinenbi"), ElementsAre("kinenbi 3/15", "kinenbi 3/16"));
    EXPECT_EQ(calls.back(), "yotei 3/16 0:0");
}

TEST(TClockerLoop, SkippedSecondFiftyNineRebuildsAtSecondZero) {
    LoopRun loop;
    loop.start(timeOf(3, 15, 12, 30, 57))
        .then(timeOf(3, 15, 12, 30, 58))
        .then(timeOf(3, 15, 12, 31, 0));
    loop.run();
    EXPECT_THAT(loop.host.calls("compose"), ElementsAre("compose 12:30", "compose 12:31"));
    EXPECT_THAT(loop.host.calls("yotei"), ElementsAre("yotei 3/15 12:30", "yotei 3/15 12:31"));
}

TEST(TClockerLoop, ClockMovedByWholeHoursOrAMonth) {
    LoopRun loop;
    loop.start(timeOf(3, 15, 10, 15, 20))
        .then(timeOf(3, 15, 13, 15, 22)) // three hours on
        .then(timeOf(3, 15, 13, 16, 0))
        .then(timeOf(4, 15, 13, 16, 2)) // a month on: the same day of the month
        .then(timeOf(4, 16, 13, 16, 3));
    loop.run();
    EXPECT_THAT(loop.host.calls("compose"),
                ElementsAre("compose 10:15", "compose 13:15", "compose 13:16"));
    // The minute stayed 15 across the move; the schedule check waits for 16.
    EXPECT_THAT(loop.host.calls("yotei"), ElementsAre("yotei 3/15 10:15", "yotei 3/15 13:16"));
    EXPECT_THAT(loop.host.calls("kinenbi"), ElementsAre("kinenbi 3/15", "kinenbi 4/16"));
}

TEST(TClockerLoop, TitleAlternatesFromTheFirstSecondEndingInOne) {
    LoopRun loop;
    loop.start(timeOf(3, 15, 15, 4, 57)).seconds(3, 15, 15, 4, 58, 34);
    loop.run();
    EXPECT_THAT(loop.host.calls("title"),
                ElementsAre("title ミオラ 「3月15日です」", "title ミオラ 「午後3時5分です」",
                            "title ミオラ 「3月15日です」", "title ミオラ 「午後3時5分です」"));
    const auto calls = loop.host.calls();
    const auto firstTitle = std::find(calls.begin(), calls.end(), "title ミオラ 「3月15日です」");
    ASSERT_NE(firstTitle, calls.begin());
    EXPECT_EQ(*(firstTitle - 1), "show 1");
}

TEST(TClockerLoop, TitlePhaseShiftsWhenASecondEndingInOneIsSkipped) {
    LoopRun loop;
    loop.start(timeOf(3, 15, 9, 0, 0)).then(timeOf(3, 15, 9, 0, 2)).then(timeOf(3, 15, 9, 0, 11));
    loop.run();
    EXPECT_THAT(loop.host.calls("title"), ElementsAre("title ミオラ 「3月15日です」"));
}

TEST(TClockerLoop, TitleReadsTheClockAfresh) {
    // The hand-over may take long; the sentence tells the time of its own reading.
    struct SlowHost : RecordingHost {
        FakeWallClock* clock = nullptr;
        void showDial(int second) override {
            RecordingHost::showDial(second);
            clock->set(timeOf(3, 15, 0, 7, 2));
        }
    };
    FakeWallClock clock;
    ScriptedWaiter waiter(clock);
    SlowHost host;
    host.clock = &clock;
    TClocker clocker(host, clock, waiter, QLocale(QLocale::Japanese, QLocale::Japan));
    clock.set(timeOf(3, 15, 12, 0, 1));
    waiter.then(timeOf(3, 15, 12, 0, 11));
    clocker.execute();
    EXPECT_THAT(host.calls("title"),
                ElementsAre("title ミオラ 「3月15日です」", "title ミオラ 「午前12時7分です」"));
}

TEST(TClockerLoop, WaitsInsteadOfReadingTheSameSecondAgain) {
    LoopRun loop;
    // Woken early three times: the second has not changed yet.
    loop.start(timeOf(3, 15, 8, 0, 5))
        .then(timeOf(3, 15, 8, 0, 5))
        .then(timeOf(3, 15, 8, 0, 5))
        .then(timeOf(3, 15, 8, 0, 5))
        .then(timeOf(3, 15, 8, 0, 6));
    loop.run();
    EXPECT_THAT(loop.host.calls("show"), ElementsAre("show 5", "show 6"));
    // Two reads before the first wait and one after each wait that returned; no more.
    EXPECT_EQ(loop.clock.reads(), loop.waiter.waits() + 1);
}

TEST(TClockerLoop, AStopRequestEndsTheLoopAfterTheCurrentStep) {
    struct StoppingHost : RecordingHost {
        TClocker* clocker = nullptr;
        void showDial(int second) override {
            RecordingHost::showDial(second);
            clocker->terminate();
        }
    };
    FakeWallClock clock;
    ScriptedWaiter waiter(clock);
    StoppingHost host;
    TClocker clocker(host, clock, waiter);
    host.clocker = &clocker;
    clock.set(timeOf(3, 15, 8, 0, 1));
    waiter.then(timeOf(3, 15, 8, 0, 2));
    clocker.execute();
    EXPECT_THAT(host.calls("show"), ElementsAre("show 1"));
    EXPECT_THAT(host.calls("title"), IsEmpty());
}
