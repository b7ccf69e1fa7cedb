// Changes of the clock thread's priority level while the loop runs and hands its refresh
// over to the user-interface thread: nothing of the loop is lost, and a stop never hangs.
#include "clock/TClocker.h"
#include "clock/UiClockHost.h"
#include "clock/UiHandOver.h"
#include "support/fakes/FakeClockHost.h"
#include "support/fakes/FakeSecondWaiter.h"
#include "support/fakes/FakeWallClock.h"
#include "support/fixtures/TestApplication.h"
#include "support/harness/Polling.h"
#include "support/harness/ProcThreadStat.h"

#include <QObject>
#include <QThread>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

int clockThreads() {
    return int(ProcThreadStat::threadsNamed(::getpid(), "TClocker").size());
}

} // namespace

TEST(ClockMove, MovesWhileTheLoopRunsLoseAndRepeatNothing) {
    testApplication();
    // From just before midnight, so that minutes and a day go by.
    const LocalTime start = timeOf(3, 15, 23, 58, 30);
    QObject stage;
    UiHandOver handOver(&stage);
    RecordingHost dial;   // the calls that run on the user-interface thread
    RecordingHost checks; // the ones the clock thread makes itself
    UiClockHost host(
        handOver, &stage,
        {.composeDial = [&](int hour, int minute) { dial.composeDial(hour, minute); },
         .showDial = [&](int second) { dial.showDial(second); },
         .checkKinenbi = [&](int month, int day) { checks.checkKinenbi(month, day); },
         .checkYotei = [&](int month, int day, int hour,
                           int minute) { checks.checkYotei(month, day, hour, minute); },
         .setTitle = [&](const QString& text) { dial.setApplicationTitle(text); }});
    FakeWallClock clock;
    TickingWaiter waiter(clock, start);
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    TClocker clocker(host, clock, waiter, japanese);
    clocker.resume();
    ASSERT_TRUE(eventually([&] { return clocker.threadId() != 0; }));

    const bool mayRaise = callerMayRaisePriority();
    constexpr int kLevels[] = {3, 0, 5, 1, 4, 2};
    for (int move = 0; move < 300; ++move) {
        if (move % 3 == 0) {
            // Not serving the hand-over: the clock thread soon waits for this thread, and
            // the move is asked for with its refresh in flight.
            QThread::msleep(3);
        } else {
            processEventsFor(move % 4);
        }
        const int level = kLevels[move % 6];
        if (move % 25 != 0) {
            clocker.setPriority(level);
            continue;
        }
        const pid_t before = clocker.threadId();
        clocker.setPriority(level);
        // The work itself runs on the new thread, at the new level.
        pid_t after = 0;
        ASSERT_TRUE(eventually(
            [&] {
                after = clocker.threadId();
                return after != 0 && after != before && waiter.lastThread() == after;
            },
            20000, 1))
            << "move " << move;
        EXPECT_TRUE(ProcThreadStat::of(after).showsLevel(grantedLevel(level, mayRaise)))
            << "move " << move;
    }
    // Past midnight at least, whatever the speed of this machine.
    ASSERT_TRUE(eventually([&] { return waiter.seconds() > 150; }, 60000, 1));
    clocker.terminate();
    handOver.cancel();
    clocker.waitFor();
    EXPECT_TRUE(eventually([] { return clockThreads() == 0; }));
    const int seconds = waiter.seconds();

    // The same seconds without a single move.
    FakeWallClock referenceClock;
    ScriptedWaiter script(referenceClock);
    referenceClock.set(start);
    for (int k = 1; k <= seconds; ++k)
        script.then(secondsAfter(start, k));
    RecordingHost reference;
    TClocker unmoved(reference, referenceClock, script, japanese);
    unmoved.execute();

    auto expectPrefix = [](const std::vector<std::string>& moved,
                           const std::vector<std::string>& whole, const char* what) {
        ASSERT_LE(moved.size(), whole.size()) << what;
        for (std::size_t i = 0; i < moved.size(); ++i)
            ASSERT_EQ(moved[i], whole[i]) << what << " call " << i;
    };
    auto isCheck = [](const std::string& call) {
        return call.rfind("kinenbi", 0) == 0 || call.rfind("yotei", 0) == 0;
    };
    std::vector<std::string> wholeDial, wholeChecks;
    for (const std::string& call : reference.calls())
        (isCheck(call) ? wholeChecks : wholeDial).push_back(call);
    const auto movedDial = dial.calls();
    expectPrefix(movedDial, wholeDial, "dial");
    expectPrefix(checks.calls(), wholeChecks, "checks");
    // All but the last few seconds, cut short by the stop, were shown.
    EXPECT_GE(movedDial.size() + 8, wholeDial.size());
    EXPECT_EQ(checks.calls("kinenbi").size(), 2u); // the start and the new day
}

TEST(ClockMove, StoppingInTheMiddleOfAMoveNeverHangs) {
    testApplication();
    for (int cycle = 0; cycle < 60; ++cycle) {
        QObject stage;
        UiHandOver handOver(&stage);
        RecordingHost dial;
        UiClockHost host(
            handOver, &stage,
            {.composeDial = [&](int hour, int minute) { dial.composeDial(hour, minute); },
             .showDial = [&](int second) { dial.showDial(second); },
             .checkKinenbi = [](int, int) {},
             .checkYotei = [](int, int, int, int) {},
             .setTitle = [](const QString&) {}});
        RacingClock clock;
        RushingWaiter waiter;
        TClocker clocker(host, clock, waiter);
        clocker.resume();
        processEventsFor(cycle % 3);
        for (int k = 0; k <= cycle % 4; ++k)
            clocker.setPriority((cycle + k) % 6);
        if (cycle % 2 == 0)
            processEventsFor(1);
        clocker.terminate();
        handOver.cancel();
        clocker.waitFor();
        EXPECT_FALSE(clocker.running());
        EXPECT_TRUE(eventually([] { return clockThreads() == 0; })) << "cycle " << cycle;
    }
}
