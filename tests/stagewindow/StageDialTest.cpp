// The dial and the clock thread inside the character window, with a fake clock and a
// settings file in a private folder; no display is needed.
#include "clock/DialBox.h"
#include "clock/DialColours.h"
#include "clock/StageClock.h"
#include "clock/TClocker.h"
#include "support/fixtures/StageFixture.h"
#include "support/harness/Polling.h"
#include "support/harness/ProcThreadStat.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QPainter>

namespace {

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

using StageDial = StageFixture;

} // namespace

TEST_F(StageDial, StartsWithTheFaceAloneAndTheThreadNotYetRunning) {
    create();
    const QImage screen = stage->dial().screen();
    EXPECT_FALSE(anyPixel(screen, DialColours::kAqua)); // no hands yet
    EXPECT_TRUE(anyPixel(screen, DialColours::kRed));   // the second hand draws regardless
    EXPECT_EQ(stage->clock().clocker().lastHour, TClocker::kNotSet);
    EXPECT_FALSE(stage->clock().clocker().running());
}

TEST_F(StageDial, SwitchingRenderingsRedrawsAtOnce) {
    create();
    pick(item("MIDigiAna"));
    EXPECT_FALSE(stage->settings().AnaDigi);
    QImage screen = stage->dial().screen();
    EXPECT_FALSE(anyPixel(screen, DialColours::kAqua));
    EXPECT_NE(at(screen, 64, 13), DialColours::kBlack);

    pick(item("MIDigiAna"));
    EXPECT_TRUE(stage->settings().AnaDigi);
    screen = stage->dial().screen();
    EXPECT_EQ(at(screen, 64, 13), DialColours::kBlack);  // minute hand tip at 3:00
    EXPECT_EQ(at(screen, 102, 64), DialColours::kBlack); // hour hand tip

    pick(item("MIDigiAna"));
    const QImage twentyFour = stage->dial().screen();
    pick(item("MIAmPm"));
    EXPECT_TRUE(stage->settings().DigiAMPM);
    EXPECT_NE(stage->dial().screen(), twentyFour); // the AM sign appears without waiting
}

TEST_F(StageDial, TimePickerSetsTheHands) {
    create();
    stage->dial().DateTimePicker1Change(QTime(3, 0));
    const QImage screen = stage->dial().screen();
    EXPECT_EQ(at(screen, 64, 13), DialColours::kBlack);
    EXPECT_EQ(at(screen, 102, 64), DialColours::kBlack);
}

TEST_F(StageDial, FirstShowStartsTheClockWhichTellsTheDateInTheTitle) {
    clock.set(timeOf(3, 15, 3, 0, 1));
    create();
    stage->show();
    ASSERT_TRUE(eventually([&] { return stage->clock().clocker().lastSecond == 1; }));
    ASSERT_TRUE(eventually([&] {
        return stage->windowTitle() == QStringLiteral("ミオラ 「3月15日です」");
    })) << stage->windowTitle().toStdString();
    const QImage screen = stage->dial().screen();
    EXPECT_EQ(at(screen, 64, 13), DialColours::kBlack);
    stage->hide();
    stage->show(); // a later show does not start it again
    EXPECT_TRUE(stage->clock().clocker().running());
}

TEST_F(StageDial, ThePriorityItemsAndTheScreenSaverGiveTheClockTheirLevel) {
    StageSettings stored;
    stored.ThreadPrio = 2;
    store(stored);
    start();
    // Once the clock shows seconds, the window has had its first paint.
    ASSERT_TRUE(eventually([&] { return stage->clock().clocker().lastSecond != 65535; }));
    processEventsFor(100);
    auto clockAt = [&](int level) {
        return eventually([&] {
            const pid_t tid = stage->clock().clocker().threadId();
            return tid != 0 && ProcThreadStat::of(tid).showsLevel(level);
        });
    };
    EXPECT_TRUE(clockAt(2));

    stage->clock().lowerForScreenSaver();
    EXPECT_TRUE(stage->clock().prioLowered());
    EXPECT_TRUE(clockAt(0));
    stage->dial().showDial(7);
    EXPECT_FALSE(stage->clock().prioLowered());
    EXPECT_TRUE(clockAt(2)) << "the next paint did not restore the chosen level";

    // Up and down from the menu; the item stays checked and the choice is kept.
    for (int level : {0, 3, 1, 2}) {
        const std::string name = "MIThreadPrio" + std::to_string(level + 1);
        pick(item(name.c_str()));
        EXPECT_EQ(stage->settings().ThreadPrio, level);
        EXPECT_EQ(checkedIn("MIThreadPriority"), item(name.c_str()));
        EXPECT_TRUE(clockAt(level)) << "level " << level;
    }
    // A level applied for a while leaves the stored choice as it is.
    stage->clock().setPriority(0);
    EXPECT_TRUE(clockAt(0));
    EXPECT_EQ(stage->settings().ThreadPrio, 2);
}

TEST_F(StageDial, ClosingWhileTheClockWaitsForTheWindowDoesNotHang) {
    for (int cycle = 0; cycle < 30; ++cycle) {
        create();
        stage->show();
        // Without the event loop running, the clock thread soon waits for its first
        // rebuild to be done here; the window is destroyed under it.
        if (cycle % 2 == 0)
            eventually([&] { return stage->clock().clocker().running(); });
        destroy();
    }
    SUCCEED();
}

// On a screen of another scale, her window with an alpha channel: the box painted device
// pixel for device pixel, the backdrop's transparency included.
TEST_F(StageDial, AnotherScreenScaleRemakesTheDial) {
    create();
    for (const qreal ratio : {2.0, 1.5}) {
        QImage backdrop(stage->size() * ratio, QImage::Format_ARGB32_Premultiplied);
        backdrop.setDevicePixelRatio(ratio);
        backdrop.fill(Qt::transparent);
        stage->dial().setDeviceRatio(ratio, backdrop);
        QImage window = backdrop.copy(0, 0, 128 * ratio, 128 * ratio);
        window.fill(Qt::red);
        QPainter painter(&window);
        stage->dial().MojibanBoxPaint(painter);
        painter.end();
        EXPECT_EQ(window.pixel(0, 0), 0u) << ratio; // outside the dial's outline
        EXPECT_TRUE(window == stage->dial().screen()) << ratio;
    }
}
