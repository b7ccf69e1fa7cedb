// A place she can always be seen: her window brought wholly onto the nearest screen at start
// and when screens come and go while she runs, through the real program on a private X
// server whose monitors xrandr defines and removes (RandR 1.5 monitors, as a desktop gets
// them when a monitor is plugged in or out). The stored place changes only when she is moved.
#include "support/harness/Polling.h"
#include "support/harness/ProgramFixture.h"

#include <gtest/gtest.h>

namespace {

constexpr QSize kHer{208, 452};

class Screens : public ProgramFixture {
protected:
    void storePlace(QPoint at) {
        StageSettings settings;
        settings.FormLeft = at.x();
        settings.FormTop = at.y();
        store(settings);
    }
    QPoint storedPlace() const {
        const auto settings = stored();
        return settings ? QPoint(settings->FormLeft, settings->FormTop) : QPoint(-1, -1);
    }
    bool xrandr(const QStringList& args) const {
        return session.run(QStringLiteral("xrandr"), args).exitCode == 0;
    }
    // The 1024x768 screen as two monitors side by side, each 512 wide.
    void twoMonitors() {
        ASSERT_TRUE(xrandr({"--setmonitor", "left", "512/135x768/203+0+0", "screen"}));
        ASSERT_TRUE(xrandr({"--setmonitor", "right", "512/135x768/203+512+0", "none"}));
    }
    bool herAt(qulonglong her, QPoint at, int timeoutMs = 20000) const {
        return eventually([&] { return session.windowGeometry(her).topLeft() == at; }, timeoutMs);
    }
    std::string whereSheIs(qulonglong her) const {
        const QRect at = session.windowGeometry(her);
        return std::to_string(at.x()) + "," + std::to_string(at.y());
    }
};

TEST_F(Screens, APlaceOffTheScreenAtStartShowsHerWhollyOnItAndIsStoredUntilSheIsMoved) {
    // Stored on a monitor to the right and below, since unplugged.
    storePlace({1500, 900});
    auto program = launch();
    const auto her = session.waitForWindowByClass(QStringLiteral("hourling"));
    ASSERT_TRUE(her.has_value()) << program->report();
    EXPECT_TRUE(herAt(*her, {1024 - kHer.width(), 768 - kHer.height()})) << whereSheIs(*her);
    EXPECT_EQ(session.windowGeometry(*her).size(), kHer);
    closeBySignal(*program);
    EXPECT_EQ(storedPlace(), QPoint(1500, 900));

    // Dragged, she is stored where she was dragged to.
    program = launch();
    const auto again = session.waitForWindowByClass(QStringLiteral("hourling"));
    ASSERT_TRUE(again.has_value()) << program->report();
    ASSERT_TRUE(herAt(*again, {1024 - kHer.width(), 768 - kHer.height()})) << whereSheIs(*again);
    dragHer(session, *again, {200, 100});
    closeBySignal(*program);
    EXPECT_EQ(storedPlace(), QPoint(200, 100));
}

TEST_F(Screens, AMonitorUnpluggedWhileSheRunsBringsHerOntoTheOtherAndBackWhenItReturns) {
    twoMonitors();
    // Wholly on the right monitor.
    const QPoint onTheRight(600, 150);
    storePlace(onTheRight);
    auto program = launch();
    const auto her = waitForHer(*program, onTheRight);
    ASSERT_TRUE(her);

    ASSERT_TRUE(xrandr({"--delmonitor", "right"}));
    EXPECT_TRUE(herAt(*her, {512 - kHer.width(), 150}))
        << "after the right monitor went: " << whereSheIs(*her);
    session.screenshot().save(artifactPath(QStringLiteral("monitor-unplugged.png")));

    // Back, and she with it: she was not moved.
    ASSERT_TRUE(xrandr({"--setmonitor", "right", "512/135x768/203+512+0", "none"}));
    EXPECT_TRUE(herAt(*her, onTheRight))
        << "after the right monitor came back: " << whereSheIs(*her);

    // Gone again, then she closes: the stored place is where she was put, not where she
    // was brought.
    ASSERT_TRUE(xrandr({"--delmonitor", "right"}));
    ASSERT_TRUE(herAt(*her, {512 - kHer.width(), 150})) << whereSheIs(*her);
    closeBySignal(*program);
    EXPECT_EQ(storedPlace(), onTheRight);
}

} // namespace
