// The clock thread's hand-over to the user-interface thread.
#include "clock/TClocker.h"
#include "clock/UiClockHost.h"
#include "clock/UiHandOver.h"
#include "support/fakes/FakeClockHost.h"
#include "support/fakes/FakeSecondWaiter.h"
#include "support/fakes/FakeWallClock.h"
#include "support/fixtures/TestApplication.h"
#include "support/harness/Polling.h"
#include "support/harness/ProcThreadStat.h"

#include <QElapsedTimer>
#include <QObject>
#include <atomic>
#include <chrono>
#include <future>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using testing::ElementsAre;

// Hands the dial calls over to the thread of a context object and waits for each.
class HandingOverHost : public RecordingHost {
public:
    explicit HandingOverHost(UiHandOver& handOver) : handOver_(handOver) {}
    void composeDial(int hour, int minute) override {
        waiting = true;
        handOver_.run([=, this] { RecordingHost::composeDial(hour, minute); });
    }
    void showDial(int second) override {
        waiting = true;
        handOver_.run([=, this] {
            ++ran;
            if (throwOnShow)
                throw std::runtime_error("paint failed");
            RecordingHost::showDial(second);
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

// Handles this thread's events until the other thread's call has come back.
template <typename T> T handleEventsUntil(std::future<T>& result) {
    while (result.wait_for(1ms) != std::future_status::ready)
        QCoreApplication::processEvents();
    return result.get();
}

} // namespace

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
        clocker.resume();
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
        clocker.terminate();
        handOver.cancel();
        clocker.waitFor();
        EXPECT_FALSE(clocker.running());
        const int ranBeforeStop = host.ran;
        // A call still queued for the stage must not run once the hand-over is cancelled.
        QCoreApplication::processEvents();
        EXPECT_EQ(host.ran, ranBeforeStop);
    }
}

TEST(ClockThread, HandedCallsRunInOrderOnTheContextThreadAndFailuresComeBack) {
    testApplication();
    QObject stage;
    UiHandOver handOver(&stage);
    std::vector<int> ran;
    std::vector<std::thread::id> ranOn;
    auto call = [&](int n) {
        return [&, n] {
            ran.push_back(n);
            ranOn.push_back(std::this_thread::get_id());
            if (n == 2)
                throw std::runtime_error("paint failed");
        };
    };
    auto posted = std::async(std::launch::async, [&] {
        return handOver.post(call(1)) && handOver.post(call(2)) && handOver.post(call(3));
    });
    // Posting does not wait for this thread.
    ASSERT_EQ(posted.wait_for(20s), std::future_status::ready);
    EXPECT_TRUE(posted.get());
    EXPECT_TRUE(ran.empty());

    // The failure comes back at the next wait, once all of them have run.
    auto waited = std::async(std::launch::async, [&] { return handOver.waitForPosted(); });
    EXPECT_THROW(handleEventsUntil(waited), std::runtime_error);
    EXPECT_THAT(ran, ElementsAre(1, 2, 3));
    for (const std::thread::id& thread : ranOn)
        EXPECT_EQ(thread, std::this_thread::get_id());

    // Only once: the next call and its wait go well.
    auto next = std::async(std::launch::async, [&] { return handOver.run(call(4)); });
    EXPECT_TRUE(handleEventsUntil(next));
    EXPECT_THAT(ran, ElementsAre(1, 2, 3, 4));
}

TEST(ClockThread, TheRefreshIsHandedOverWithoutWaitingForItButTheNextOneWaits) {
    testApplication();
    QObject stage;
    UiHandOver handOver(&stage);
    const CancelOnExit release{handOver};
    RecordingHost dial;
    UiClockHost host(handOver, &stage,
                     {.composeDial = [&](int hour, int minute) { dial.composeDial(hour, minute); },
                      .showDial = [&](int second) { dial.showDial(second); },
                      .checkKinenbi = [](int, int) {},
                      .checkYotei = [](int, int, int, int) {},
                      .setTitle = [&](const QString& text) { dial.setApplicationTitle(text); }});
    auto first = std::async(std::launch::async, [&] {
        host.showDial(59);
        host.setApplicationTitle(QStringLiteral("title"));
        host.composeDial(8, 30);
    });
    ASSERT_EQ(first.wait_for(20s), std::future_status::ready);
    EXPECT_TRUE(dial.calls().empty());

    auto second = std::async(std::launch::async, [&] { host.showDial(0); });
    // It waits for the calls of the second before, which only this thread can run.
    EXPECT_EQ(second.wait_for(300ms), std::future_status::timeout);
    handleEventsUntil(second);
    processEventsFor(50);
    EXPECT_THAT(dial.calls(), ElementsAre("show 59", "title title", "compose 8:30", "show 0"));
}

TEST(ClockThread, AFailedRefreshEndsTheLoopAtTheNextOne) {
    testApplication();
    QObject stage;
    UiHandOver handOver(&stage);
    const CancelOnExit release{handOver};
    std::atomic<int> shown{0};
    RecordingHost checks;
    UiClockHost host(
        handOver, &stage,
        {.composeDial = [](int, int) {},
         .showDial =
             [&](int) {
                 ++shown;
                 throw std::runtime_error("paint failed");
             },
         .checkKinenbi = [&](int month, int day) { checks.checkKinenbi(month, day); },
         .checkYotei = [&](int month, int day, int hour,
                           int minute) { checks.checkYotei(month, day, hour, minute); },
         .setTitle = [](const QString&) {}});
    RacingClock clock;
    RushingWaiter waiter;
    TClocker clocker(host, clock, waiter);
    clocker.resume();
    ASSERT_TRUE(eventually([&] { return !clocker.running(); }));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(clocker.threadId(), 0);
    // Nothing restarts it, not even a change of level.
    clocker.setPriority(5);
    processEventsFor(200);
    EXPECT_TRUE(ProcThreadStat::threadsNamed(::getpid(), "TClocker").empty());
    EXPECT_EQ(shown, 1);
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
    clocker.resume();
    QElapsedTimer timer;
    timer.start();
    while (clocker.running() && timer.elapsed() < 20000)
        QCoreApplication::processEvents();
    EXPECT_FALSE(clocker.running());
    EXPECT_EQ(clocker.threadId(), 0);
    EXPECT_EQ(host.ran, 1);
    clocker.setPriority(5); // no thread to apply it to: nothing happens
    EXPECT_FALSE(clocker.running());
}
