// Changes of the clock thread's priority level: each one moves the loop to a fresh thread at
// the new level, which must work without privilege and lose nothing of the loop.
#include "clock/TClocker.h"
#include "clock/UiClockHost.h"
#include "clock/UiHandOver.h"
#include "support/ClockFakes.h"
#include "support/Polling.h"
#include "support/ProcThreadStat.h"
#include "support/TestApplication.h"

#include <QObject>
#include <QThread>
#include <filesystem>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

bool threadExists(pid_t tid) {
    return std::filesystem::exists("/proc/self/task/" + std::to_string(tid));
}

int clockThreads() {
    return int(ProcThreadStat::threadsNamed(::getpid(), "TClocker").size());
}

// The level a fresh thread made by this thread gets: those above normal need privilege.
int grantedLevel(int level, bool mayRaise) {
    return level > 3 && !mayRaise ? 3 : level;
}

// What one change of level left behind, as the kernel shows it.
struct Move {
    int level = 0;
    pid_t before = 0;
    pid_t after = 0;
    ProcThreadStat stat;
    bool oldThreadGone = false;
    int clockThreads = 0;
    std::string capabilities; // CapEff of the new thread
};

// Changes the level and waits until the loop runs on a new thread and the old one is gone.
Move moveTo(TClocker& clocker, int level) {
    Move move;
    move.level = level;
    move.before = clocker.threadId();
    clocker.setPriority(level);
    eventually(
        [&] {
            move.after = clocker.threadId();
            return move.after != 0 && move.after != move.before && !threadExists(move.before);
        },
        20000, 2);
    move.oldThreadGone = !threadExists(move.before);
    move.stat = ProcThreadStat::of(move.after);
    move.clockThreads = clockThreads();
    move.capabilities = procStatusField(::getpid(), move.after, "CapEff");
    return move;
}

void expectMovedTo(const Move& move, int expectedLevel) {
    SCOPED_TRACE("level " + std::to_string(move.level));
    EXPECT_NE(move.after, 0);
    EXPECT_NE(move.after, move.before);
    EXPECT_TRUE(move.oldThreadGone) << "the old thread was not joined";
    EXPECT_EQ(move.clockThreads, 1);
    EXPECT_TRUE(move.stat.showsLevel(expectedLevel))
        << "policy " << move.stat.policy << ", nice " << move.stat.nice;
}

constexpr int kUpsAndDowns[] = {1, 2, 3, 4, 5, 4, 3, 2, 1, 0, 3, 0, 5, 1};

} // namespace

TEST(ClockMove, EachLevelShowsInTheThreadThatRunsTheLoop) {
    FakeWallClock clock;
    clock.set(timeOf(3, 15, 8, 0, 0));
    ParkingWaiter waiter;
    RecordingHost host;
    TClocker clocker(host, clock, waiter);
    clocker.setPriority(0);
    clocker.Resume();
    ASSERT_TRUE(eventually([&] { return clocker.threadId() != 0; }));
    EXPECT_NE(clocker.threadId(), ThreadPriority::currentThreadId());
    EXPECT_TRUE(ProcThreadStat::of(clocker.threadId()).showsLevel(0));
    EXPECT_EQ(ProcThreadStat::of(clocker.threadId()).name, "TClocker");

    const bool mayRaise = callerMayRaisePriority();
    for (int level : kUpsAndDowns)
        expectMovedTo(moveTo(clocker, level), grantedLevel(level, mayRaise));
    EXPECT_EQ(clocker.priority(), 1);
    // The moves never started the loop again.
    EXPECT_EQ(host.calls("kinenbi").size(), 1u);
    EXPECT_EQ(host.calls("compose").size(), 1u);

    clocker.Terminate();
    clocker.WaitFor();
    EXPECT_TRUE(eventually([] { return clockThreads() == 0; }));
}

TEST(ClockMove, WithoutPrivilegeEveryLevelStillTakesEffect) {
    // Capabilities belong to each thread: this one stands for a user-interface thread
    // without the right to raise priority, and the clock threads it makes inherit that.
    struct Outcome {
        bool dropped = false;
        bool mayRaise = true;
        std::vector<Move> moves;
    } outcome;
    std::thread ui([&outcome] {
        outcome.dropped = dropNiceCapability();
        outcome.mayRaise = callerMayRaisePriority();
        if (!outcome.dropped || outcome.mayRaise)
            return;
        FakeWallClock clock;
        clock.set(timeOf(3, 15, 8, 0, 0));
        ParkingWaiter waiter;
        RecordingHost host;
        TClocker clocker(host, clock, waiter);
        clocker.Resume();
        eventually([&] { return clocker.threadId() != 0; });
        Move start;
        start.after = clocker.threadId();
        start.stat = ProcThreadStat::of(start.after);
        start.oldThreadGone = true;
        start.clockThreads = clockThreads();
        start.capabilities = procStatusField(::getpid(), start.after, "CapEff");
        outcome.moves.push_back(start);
        // Up from idle, which the thread itself could never leave, and down and up again.
        for (int level : {3, 1, 2, 5, 4, 0, 3})
            outcome.moves.push_back(moveTo(clocker, level));
    });
    ui.join();
    ASSERT_TRUE(outcome.dropped);
    if (outcome.mayRaise)
        GTEST_SKIP() << "RLIMIT_NICE lets any thread here raise its priority";
    ASSERT_EQ(outcome.moves.size(), 8u);
    for (const Move& move : outcome.moves) {
        const std::uint64_t capabilities = std::stoull(move.capabilities, nullptr, 16);
        EXPECT_EQ(capabilities & (std::uint64_t(1) << CAP_SYS_NICE), 0u) << move.capabilities;
        // Levels above normal are refused and run at normal, silently.
        expectMovedTo(move, grantedLevel(move.level, false));
    }
}

TEST(ClockMove, MovesWhileTheLoopRunsLoseAndRepeatNothing) {
    testApplication();
    // From just before midnight, so that minutes and a day go by.
    const LocalTime start = timeOf(3, 15, 23, 58, 30);
    QObject stage;
    UiHandOver handOver(&stage);
    RecordingHost dial;   // the calls that run on the user-interface thread
    RecordingHost checks; // the ones the clock thread makes itself
    UiClockHost host(handOver, &stage,
                     {[&](int hour, int minute) { dial.ComposeDial(hour, minute); },
                      [&](int second) { dial.ShowDial(second); },
                      [&](int month, int day) { checks.CheckKinenbi(month, day); },
                      [&](int month, int day, int hour, int minute) {
                          checks.CheckYotei(month, day, hour, minute);
                      },
                      [&](const QString& text) { dial.SetApplicationTitle(text); }});
    FakeWallClock clock;
    TickingWaiter waiter(clock, start);
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    TClocker clocker(host, clock, waiter, japanese);
    clocker.Resume();
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
    clocker.Terminate();
    handOver.cancel();
    clocker.WaitFor();
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
    unmoved.Execute();

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
        UiClockHost host(handOver, &stage,
                         {[&](int hour, int minute) { dial.ComposeDial(hour, minute); },
                          [&](int second) { dial.ShowDial(second); }, [](int, int) {},
                          [](int, int, int, int) {}, [](const QString&) {}});
        RacingClock clock;
        RushingWaiter waiter;
        TClocker clocker(host, clock, waiter);
        clocker.Resume();
        processEventsFor(cycle % 3);
        for (int k = 0; k <= cycle % 4; ++k)
            clocker.setPriority((cycle + k) % 6);
        if (cycle % 2 == 0)
            processEventsFor(1);
        clocker.Terminate();
        handOver.cancel();
        clocker.WaitFor();
        EXPECT_FALSE(clocker.running());
        EXPECT_TRUE(eventually([] { return clockThreads() == 0; })) << "cycle " << cycle;
    }
}
