#include "clock/TClocker.h"
#include "clock/UiHandOver.h"
#include "platform/SecondWaiter.h"
#include "platform/ThreadPriority.h"
#include "support/ClockFakes.h"
#include "support/Polling.h"
#include "support/ProcThreadStat.h"
#include "support/TestApplication.h"

#include <QElapsedTimer>
#include <QObject>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sched.h>
#include <stdexcept>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// Hands the dial calls over to the thread of a context object, as the stage window does.
class HandingOverHost : public RecordingHost {
public:
    explicit HandingOverHost(UiHandOver& handOver) : handOver_(handOver) {}
    void ComposeDial(int hour, int minute) override {
        waiting = true;
        handOver_.run([=, this] { RecordingHost::ComposeDial(hour, minute); });
    }
    void ShowDial(int second) override {
        waiting = true;
        handOver_.run([=, this] {
            ++ran;
            if (throwOnShow)
                throw std::runtime_error("paint failed");
            RecordingHost::ShowDial(second);
        });
    }
    std::atomic<bool> waiting{false};
    std::atomic<int> ran{0};
    bool throwOnShow = false;

private:
    UiHandOver& handOver_;
};

struct CancelOnExit {
    UiHandOver& handOver;
    ~CancelOnExit() { handOver.cancel(); }
};

bool dropNiceCapability() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    data[CAP_SYS_NICE / 32].effective &= ~(1u << (CAP_SYS_NICE % 32));
    return ::syscall(SYS_capset, &header, data) == 0;
}

} // namespace

TEST(ClockThread, PriorityLevelsShowInTheThreadsScheduling) {
    FakeWallClock clock;
    clock.set(timeOf(3, 15, 8, 0, 0));
    ParkingWaiter waiter;
    RecordingHost host;
    TClocker clocker(host, clock, waiter);
    clocker.setPriority(0);
    clocker.Resume();
    ASSERT_TRUE(eventually([&] { return clocker.threadId() != 0; }));
    const pid_t tid = clocker.threadId();
    EXPECT_NE(tid, ThreadPriority::currentThreadId());
    // Taken before the loop's first step, which composes the dial.
    ASSERT_TRUE(eventually([&] { return !host.calls("compose").empty(); }));
    EXPECT_EQ(sched_getscheduler(tid), SCHED_IDLE);
    EXPECT_EQ(ProcThreadStat::of(tid).policy, SCHED_IDLE);

    const int nices[] = {0, 10, 5, 0, -5, -10};
    // Down through the levels and up again, and back to idle.
    for (int level : {1, 2, 3, 4, 5, 4, 3, 2, 1, 0, 3}) {
        SCOPED_TRACE(level);
        const int niceBefore = ProcThreadStat::of(tid).nice;
        const bool applied = ThreadPriority::apply(tid, level);
        clocker.setPriority(level);
        const ProcThreadStat stat = ProcThreadStat::of(tid);
        ASSERT_TRUE(stat.read);
        if (level == 0) {
            EXPECT_EQ(stat.policy, SCHED_IDLE);
            EXPECT_EQ(sched_getscheduler(tid), SCHED_IDLE);
        } else if (applied) {
            EXPECT_EQ(stat.policy, SCHED_OTHER);
            EXPECT_EQ(sched_getscheduler(tid), SCHED_OTHER);
            EXPECT_EQ(stat.nice, nices[level]);
        } else {
            // Not allowed to raise it here: the thread stays as it was.
            EXPECT_EQ(stat.nice, niceBefore);
        }
    }
    EXPECT_EQ(clocker.priority(), 3);
}

TEST(ClockThread, LevelsOutsideTheSixCountAsIdle) {
    EXPECT_EQ(ThreadPriority::effectiveLevel(6), 0);
    EXPECT_EQ(ThreadPriority::effectiveLevel(-1), 0);
    EXPECT_EQ(ThreadPriority::effectiveLevel(5), 5);
    std::promise<pid_t> started;
    std::promise<void> release;
    std::thread worker([&] {
        started.set_value(ThreadPriority::currentThreadId());
        release.get_future().wait();
    });
    const pid_t tid = started.get_future().get();
    ThreadPriority::apply(tid, 3);
    ThreadPriority::apply(tid, 42);
    EXPECT_EQ(ProcThreadStat::of(tid).policy, SCHED_IDLE);
    release.set_value();
    worker.join();
}

TEST(ClockThread, RefusedRaiseIsSilent) {
    struct Outcome {
        bool lowered = false;
        bool dropped = false;
        bool raised = true;
        ProcThreadStat after;
    } outcome;
    // Capabilities belong to each thread: this one gives up its right to raise priority.
    std::thread worker([&outcome] {
        const pid_t self = ThreadPriority::currentThreadId();
        outcome.lowered = ThreadPriority::apply(self, 1);
        outcome.dropped = dropNiceCapability();
        outcome.raised = ThreadPriority::apply(self, 5);
        outcome.after = ProcThreadStat::of(self);
    });
    worker.join();
    ASSERT_TRUE(outcome.lowered); // lowering is always allowed
    ASSERT_TRUE(outcome.dropped);
    if (outcome.raised)
        GTEST_SKIP() << "this system lets a thread raise its priority unprivileged";
    EXPECT_EQ(outcome.after.nice, 10);
    EXPECT_EQ(outcome.after.policy, SCHED_OTHER);
}

TEST(ClockThread, StopWakesTheWaitForTheNextSecond) {
    SystemSecondWaiter waiter;
    auto waited = std::async(std::launch::async, [&] {
        int returned = 0;
        while (waiter.waitForNextSecond())
            ++returned;
        return returned;
    });
    std::this_thread::sleep_for(1500ms);
    waiter.interrupt();
    ASSERT_EQ(waited.wait_for(5s), std::future_status::ready);
    EXPECT_GE(waited.get(), 1);
    EXPECT_FALSE(waiter.waitForNextSecond());
}

TEST(ClockThread, EachWaitEndsOnANewSecond) {
    SystemSecondWaiter waiter;
    using std::chrono::floor;
    using std::chrono::seconds;
    using std::chrono::system_clock;
    int changed = 0;
    for (int k = 0; k < 3; ++k) {
        const auto before = floor<seconds>(system_clock::now());
        ASSERT_TRUE(waiter.waitForNextSecond());
        changed += floor<seconds>(system_clock::now()) != before;
    }
    // A signal may end a wait early; it never sleeps past more than one second.
    EXPECT_GE(changed, 2);
}

TEST(ClockThread, StopAndJoinWhileTheHandOverIsInFlight) {
    testApplication();
    for (int cycle = 0; cycle < 200; ++cycle) {
        QObject stage;
        UiHandOver handOver(&stage);
        HandingOverHost host(handOver);
        RacingClock clock;
        RushingWaiter waiter;
        TClocker clocker(host, clock, waiter);
        // Even when an assertion leaves early, the thread must be let go before the join.
        const CancelOnExit release{handOver};
        clocker.Resume();
        // Let some cycles get a few seconds shown, and catch the others mid-wait.
        if (cycle % 3 == 0) {
            QElapsedTimer spent;
            spent.start();
            while (spent.elapsed() < cycle % 7)
                QCoreApplication::processEvents();
        }
        if (cycle % 2 == 0) {
            ASSERT_TRUE(eventually([&] { return host.waiting.load(); }));
        }
        clocker.Terminate();
        handOver.cancel();
        clocker.WaitFor();
        EXPECT_FALSE(clocker.running());
        const int ranBeforeStop = host.ran;
        // A call still queued for the stage must not run once the hand-over is cancelled.
        QCoreApplication::processEvents();
        EXPECT_EQ(host.ran, ranBeforeStop);
    }
}

TEST(ClockThread, HandOverRunsOnTheContextThreadAndPassesFailuresBack) {
    testApplication();
    QObject stage;
    UiHandOver handOver(&stage);
    std::thread::id ranOn;
    auto result = std::async(std::launch::async, [&] {
        return handOver.run([&] { ranOn = std::this_thread::get_id(); });
    });
    while (result.wait_for(1ms) != std::future_status::ready)
        QCoreApplication::processEvents();
    EXPECT_TRUE(result.get());
    EXPECT_EQ(ranOn, std::this_thread::get_id());

    auto failing = std::async(std::launch::async, [&] {
        handOver.run([] { throw std::runtime_error("paint failed"); });
    });
    while (failing.wait_for(1ms) != std::future_status::ready)
        QCoreApplication::processEvents();
    EXPECT_THROW(failing.get(), std::runtime_error);
}

TEST(ClockThread, AFailedStepEndsTheThreadAndItsPriorityHandle) {
    testApplication();
    QObject stage;
    UiHandOver handOver(&stage);
    HandingOverHost host(handOver);
    host.throwOnShow = true;
    FakeWallClock clock;
    clock.set(timeOf(3, 15, 8, 0, 0));
    ParkingWaiter waiter;
    TClocker clocker(host, clock, waiter);
    const CancelOnExit release{handOver};
    clocker.Resume();
    QElapsedTimer timer;
    timer.start();
    while (clocker.running() && timer.elapsed() < 20000)
        QCoreApplication::processEvents();
    EXPECT_FALSE(clocker.running());
    EXPECT_EQ(clocker.threadId(), 0);
    EXPECT_EQ(host.ran, 1);
    clocker.setPriority(5); // no thread to apply it to: nothing happens
}
