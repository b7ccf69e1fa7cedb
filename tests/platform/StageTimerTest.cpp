// The timers of her windows: the toolkit's rules for restarting a countdown, on the real
// timer and on the manual timeline that other tests run on.
#include "platform/QtStageTimer.h"
#include "support/fakes/FakeTimeline.h"
#include "support/fixtures/TestApplication.h"
#include "support/harness/XSession.h"

#include <QThread>
#include <gtest/gtest.h>

namespace {

class Timeline : public ::testing::Test {
protected:
    // Each tick writes down the time and the timer's name.
    std::unique_ptr<StageTimer> timer(const std::string& name, int interval) {
        auto made = timeline.makeTimer(interval);
        made->setTimeoutHandler([this, name] { ticks.push_back({timeline.now(), name}); });
        return made;
    }
    using Tick = std::pair<long long, std::string>;

    FakeTimeline timeline;
    std::vector<Tick> ticks;
};

TEST_F(Timeline, TicksInTimeOrderAndRepeats) {
    auto follow = timer("follow", 250);
    auto close = timer("close", 600);
    auto idle = timer("idle", 100);
    follow->start();
    close->start();
    timeline.advance(800);
    EXPECT_EQ(ticks, (std::vector<Tick>{
                         {250, "follow"}, {500, "follow"}, {600, "close"}, {750, "follow"}}));
    EXPECT_EQ(timeline.now(), 800);
    EXPECT_FALSE(idle->isActive());
}

TEST_F(Timeline, TimersDueTogetherTickInTheOrderTheyWereMade) {
    auto first = timer("first", 500);
    auto second = timer("second", 250);
    second->start();
    first->start();
    timeline.advance(500);
    EXPECT_EQ(ticks, (std::vector<Tick>{{250, "second"}, {500, "first"}, {500, "second"}}));
}

// What each call 600 ms into a running 1000 ms countdown does to its next tick.
struct RestartCase {
    const char* call;
    std::function<void(StageTimer&)> apply;
    long long nextTick; // -1: none
};

void PrintTo(const RestartCase& c, std::ostream* out) {
    *out << c.call;
}

class TimelineRestart : public Timeline, public ::testing::WithParamInterface<RestartCase> {};

TEST_P(TimelineRestart, FollowsTheToolkitsRules) {
    auto subject = timer("t", 1000);
    subject->start();
    timeline.advance(600);
    GetParam().apply(*subject);
    timeline.advance(2000);
    const long long next = ticks.empty() ? -1 : ticks.front().first;
    EXPECT_EQ(next, GetParam().nextTick);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, TimelineRestart,
    ::testing::Values(RestartCase{"sameInterval", [](StageTimer& t) { t.setInterval(1000); }, 1000},
                      RestartCase{"startAgain", [](StageTimer& t) { t.start(); }, 1000},
                      RestartCase{"newInterval", [](StageTimer& t) { t.setInterval(500); }, 1100},
                      RestartCase{"stopAndStart", [](StageTimer& t) { t.stop(), t.start(); }, 1600},
                      RestartCase{"stop", [](StageTimer& t) { t.stop(); }, -1},
                      RestartCase{"zeroInterval", [](StageTimer& t) { t.setInterval(0); }, -1},
                      RestartCase{"zeroThenBack",
                                  [](StageTimer& t) {
                                      t.setInterval(0);
                                      t.setInterval(1000);
                                  },
                                  1600}),
    [](const auto& info) { return std::string(info.param.call); });

TEST_F(Timeline, AHandlerMayStopOrRetimeItsOwnTimer) {
    auto once = timeline.makeTimer(300);
    int onceTicks = 0;
    once->setTimeoutHandler([&] {
        ++onceTicks;
        once->stop();
    });
    auto slower = timeline.makeTimer(200);
    std::vector<long long> slowerTicks;
    slower->setTimeoutHandler([&] {
        slowerTicks.push_back(timeline.now());
        slower->setInterval(slower->interval() * 2);
    });
    once->start();
    slower->start();
    timeline.advance(2000);
    EXPECT_EQ(onceTicks, 1);
    EXPECT_EQ(slowerTicks, (std::vector<long long>{200, 600, 1400}));
}

// The real timer: its countdown read from the toolkit, which only ever shrinks with time,
// so the checks hold however slowly the machine runs.
class QtStageTimerTest : public ::testing::Test {
protected:
    void SetUp() override { testApplication(); }
    QtStageTimer timer{1000};
};

TEST_F(QtStageTimerTest, TheSameIntervalOrAnotherStartLeavesTheCountdownRunning) {
    timer.start();
    QThread::msleep(300);
    // A coarse timer may be set up to 5 % late; a restarted one would show about 1000.
    timer.setInterval(1000);
    EXPECT_LE(timer.remainingTime(), 760);
    timer.start();
    EXPECT_LE(timer.remainingTime(), 760);
    EXPECT_TRUE(timer.isActive());
}

TEST_F(QtStageTimerTest, AChangedIntervalStartsTheCountdownAgain) {
    timer.start();
    QThread::msleep(300);
    timer.setInterval(5000);
    EXPECT_GT(timer.remainingTime(), 4000);
    // Stopped, a new interval only waits for the next start.
    timer.stop();
    timer.setInterval(2000);
    EXPECT_EQ(timer.remainingTime(), -1);
    EXPECT_FALSE(timer.isActive());
}

TEST_F(QtStageTimerTest, ZeroNeverTicksAndOtherIntervalsTickOnThisThread) {
    int ticks = 0;
    const Qt::HANDLE thread = QThread::currentThreadId();
    bool onThisThread = true;
    timer.setTimeoutHandler([&] {
        ++ticks;
        onThisThread = onThisThread && QThread::currentThreadId() == thread;
    });
    timer.setInterval(0);
    timer.start();
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(timer.remainingTime(), -1);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(ticks, 0);

    timer.setInterval(10);
    EXPECT_TRUE(eventually(
        [&] {
            QCoreApplication::processEvents();
            return ticks >= 2;
        },
        20000));
    EXPECT_TRUE(onThisThread);
}

} // namespace
