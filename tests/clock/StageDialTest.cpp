// The dial and the clock thread inside the character window, with a fake clock and a
// settings file in a private folder; no display is needed.
#include "ClockFakes.h"
#include "ProcThreadStat.h"
#include "QtTestApplication.h"
#include "app/MainStage.h"
#include "app/SettingsStore.h"
#include "clock/DialColours.h"
#include "clock/TClocker.h"
#include "platform/HiveRegistry.h"
#include "platform/KeyState.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sched.h>

namespace {

class NoKeys : public KeyState {
public:
    bool isDown(Key) const override { return false; }
};

bool processEventsUntil(const std::function<bool()>& condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > 20000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

void processEventsFor(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

QRgb at(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xFF000000u;
}

bool anyPixel(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (at(image, x, y) == colour)
                return true;
    return false;
}

class StageDial : public ::testing::Test {
protected:
    void SetUp() override {
        qtTestApplication();
        ASSERT_TRUE(folder.isValid());
        clock.set(timeOf(3, 15, 3, 0, 0));
    }
    std::unique_ptr<MainStage> create() {
        return std::make_unique<MainStage>(StageServices{registry, keys, clock});
    }

    QTemporaryDir folder;
    HiveRegistry registry{folder.path() + QStringLiteral("/hourling/user.reg")};
    NoKeys keys;
    FakeWallClock clock;
};

} // namespace

TEST_F(StageDial, StartsWithTheFaceAloneAndTheThreadNotYetRunning) {
    auto stage = create();
    const QImage screen = stage->dialScreen();
    EXPECT_FALSE(anyPixel(screen, DialColours::Aqua)); // no hands yet
    EXPECT_TRUE(anyPixel(screen, DialColours::Red));   // the second hand draws regardless
    ASSERT_NE(stage->clocker(), nullptr);
    EXPECT_EQ(stage->clocker()->LastHour, TClocker::kNotSet);
    EXPECT_FALSE(stage->clocker()->running());
}

TEST_F(StageDial, SwitchingRenderingsRedrawsAtOnce) {
    auto stage = create();
    stage->MIDigiAnaClick();
    EXPECT_FALSE(stage->settings().AnaDigi);
    QImage screen = stage->dialScreen();
    EXPECT_FALSE(anyPixel(screen, DialColours::Aqua));
    EXPECT_NE(at(screen, 64, 13), DialColours::Black);

    stage->MIDigiAnaClick();
    EXPECT_TRUE(stage->settings().AnaDigi);
    screen = stage->dialScreen();
    EXPECT_EQ(at(screen, 64, 13), DialColours::Black);  // minute hand tip at 3:00
    EXPECT_EQ(at(screen, 102, 64), DialColours::Black); // hour hand tip

    stage->MIDigiAnaClick();
    const QImage twentyFour = stage->dialScreen();
    stage->MIAmPmClick();
    EXPECT_TRUE(stage->settings().DigiAMPM);
    EXPECT_NE(stage->dialScreen(), twentyFour); // the AM sign appears without waiting
}

TEST_F(StageDial, TimePickerSetsTheHands) {
    auto stage = create();
    stage->DateTimePicker1Change(QTime(3, 0));
    const QImage screen = stage->dialScreen();
    EXPECT_EQ(at(screen, 64, 13), DialColours::Black);
    EXPECT_EQ(at(screen, 102, 64), DialColours::Black);
}

TEST_F(StageDial, FirstShowStartsTheClockWhichTellsTheDateInTheTitle) {
    clock.set(timeOf(3, 15, 3, 0, 1));
    auto stage = create();
    stage->show();
    ASSERT_TRUE(processEventsUntil([&] { return stage->clocker()->LastSecond == 1; }));
    ASSERT_TRUE(processEventsUntil([&] {
        return stage->windowTitle() == QStringLiteral("ミオラ 「3月15日です」");
    })) << stage->windowTitle().toStdString();
    const QImage screen = stage->dialScreen();
    EXPECT_EQ(at(screen, 64, 13), DialColours::Black);
    stage->hide();
    stage->show(); // a later show does not start it again
    EXPECT_TRUE(stage->clocker()->running());
}

TEST_F(StageDial, ScreenSaverDropsTheClockToIdleUntilTheNextPaint) {
    {
        StageSettings stored;
        stored.ThreadPrio = 2;
        ASSERT_TRUE(SaveSettings(registry, stored, {40, 64}));
    }
    auto stage = create();
    stage->show();
    // Once the clock shows seconds, the window has had its first paint.
    ASSERT_TRUE(processEventsUntil([&] { return stage->clocker()->LastSecond != 65535; }));
    processEventsFor(100);
    const pid_t tid = stage->clocker()->threadId();
    EXPECT_EQ(ProcThreadStat::of(tid).policy, SCHED_OTHER);
    EXPECT_EQ(ProcThreadStat::of(tid).nice, 5);

    stage->lowerClockPriorityForScreenSaver();
    EXPECT_TRUE(stage->clockPriorityLowered());
    EXPECT_EQ(ProcThreadStat::of(tid).policy, SCHED_IDLE);

    stage->ShowDial(7);
    EXPECT_FALSE(stage->clockPriorityLowered());
    EXPECT_EQ(ProcThreadStat::of(tid).policy, SCHED_OTHER);
    EXPECT_EQ(ProcThreadStat::of(tid).nice, 5);

    stage->setClockPriority(0);
    EXPECT_EQ(ProcThreadStat::of(tid).policy, SCHED_IDLE);
}

TEST_F(StageDial, ClosingWhileTheClockWaitsForTheWindowDoesNotHang) {
    for (int cycle = 0; cycle < 30; ++cycle) {
        auto stage = create();
        stage->show();
        // Without the event loop running, the clock thread soon waits for its first
        // rebuild to be done here; the window is destroyed under it.
        if (cycle % 2 == 0)
            processEventsUntil([&] { return stage->clocker()->running(); });
        stage.reset();
    }
    SUCCEED();
}
