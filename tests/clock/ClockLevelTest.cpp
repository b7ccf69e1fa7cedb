// The clock thread's priority levels: each change moves the loop to a fresh thread at the
// new level, which must work without privilege. No hand-over to a user-interface thread, so
// that tests/events_tsan runs these under ThreadSanitizer too.
#include "clock/TClocker.h"
#include "support/fakes/FakeWallClock.h"
#include "support/fakes/FakeSecondWaiter.h"
#include "support/fakes/FakeClockHost.h"
#include "support/harness/Polling.h"
#include "support/harness/ProcThreadStat.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <set>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

bool threadExists(pid_t tid) {
    return std::filesystem::exists("/proc/self/task/" + std::to_string(tid));
}

int clockThreads() {
    return int(ProcThreadStat::threadsNamed(::getpid(), "TClocker").size());
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
    clocker.resume();
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

    clocker.terminate();
    clocker.waitFor();
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
        clocker.resume();
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

// Moves asked for at any moment of a running loop, many in a row: it goes on where it was,
// each second shown once and in order.
TEST(ClockMove, MovesAtAnyMomentOfTheLoopShowEachSecondOnce) {
    FakeWallClock clock;
    TickingWaiter waiter(clock, timeOf(3, 15, 8, 59, 50));
    RecordingHost host;
    TClocker clocker(host, clock, waiter);
    clocker.resume();
    ASSERT_TRUE(eventually([&] { return clocker.threadId() != 0; }));
    for (int move = 0; move < 200; ++move) {
        clocker.setPriority(move % 4); // levels any thread may take
        if (move % 3 == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(move % 5));
    }
    ASSERT_TRUE(eventually([&] { return waiter.seconds() > 30; }, 60000, 2));
    clocker.terminate();
    clocker.waitFor();
    EXPECT_TRUE(eventually([] { return clockThreads() == 0; }));

    const std::vector<std::string> shown = host.calls("show ");
    ASSERT_GT(shown.size(), 30u);
    for (std::size_t i = 1; i < shown.size(); ++i) {
        const int before = std::stoi(shown[i - 1].substr(5));
        ASSERT_EQ(std::stoi(shown[i].substr(5)), (before + 1) % 60) << "call " << i;
    }
    const std::vector<std::string> composed = host.calls("compose");
    EXPECT_EQ(std::set<std::string>(composed.begin(), composed.end()).size(), composed.size());
}
