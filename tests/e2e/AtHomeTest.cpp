// Her first hour under each window manager people run, with its stock configuration: balloons
// closed by their button and by their own time, a drag while one shows, the stacking changed
// twice, the screen shrinking and growing back, a second start, the close and a restart.
#include "support/fixtures/BalloonControls.h"
#include "support/harness/HerOnScreen.h"
#include "support/harness/ProgramFixture.h"
#include "support/harness/XShape.h"
#include "voice/BalloonGeometry.h"

#include <QThread>

namespace {

constexpr QSize kScreen(1920, 1080);
constexpr QPoint kDialCentre(80 + 64, 256 + 64);

QString number(int value) {
    return QString::number(value);
}

class AtHome : public ProgramFixture, public ::testing::WithParamInterface<std::string> {
protected:
    AtHome() : ProgramFixture(kScreen) {}
    void SetUp() override {
        ProgramFixture::SetUp();
        ASSERT_TRUE(session.startWindowManager(QString::fromStdString(GetParam()))) << GetParam();
    }
    QPoint at() const { return session.windowGeometry(her.value_or(0)).topLeft(); }
    QString property(const char* name) const {
        return QString::fromUtf8(session.run("xprop", {"-id", number(*her), name}).out);
    }
    void shot(const QString& step) const {
        session.screenshot().save(artifactPath(
            QStringLiteral("home-%1-%2.png").arg(QString::fromStdString(GetParam()), step)));
    }
    // She stands where she is wanted, shown, her balloon beside her mouth while it shows.
    void expectHerAt(QPoint place, const char* step) {
        const bool ok = eventually([&] {
            her = HerWindows::stage(session);
            if (!her || at() != place || !session.viewable(*her))
                return false;
            const auto balloon = session.waitForWindowByName(QStringLiteral("MessageBalloon"), 50);
            if (!balloon)
                return true;
            const QRect screen(QPoint(0, 0), kScreen);
            return session.windowGeometry(*balloon).topLeft() ==
                   placeBalloon(balloonCorner(place, {208, 452}, screen), place,
                                QRect(40, 108, 81, 37), QSize(240, 160), QRect(35, 48, 169, 65))
                       .position;
        });
        const auto balloon = session.waitForWindowByName(QStringLiteral("MessageBalloon"), 50);
        const QPoint beside = balloon ? session.windowGeometry(*balloon).topLeft() : QPoint();
        EXPECT_TRUE(ok) << step << ": she is " << (her ? "" : "not ") << "mapped, at " << at().x()
                        << "," << at().y() << ", not at " << place.x() << "," << place.y()
                        << "; her balloon at " << beside.x() << "," << beside.y();
    }
    void menuItem(const QString& key) {
        session.xdotool({"mousemove", number(at().x() + kDialCentre.x()),
                         number(at().y() + kDialCentre.y()), "click", "3"});
        ASSERT_TRUE(eventually([&] { return HerWindows::openMenu(session).has_value(); }));
        session.xdotool({"key", key});
        ASSERT_TRUE(eventually([&] { return !HerWindows::openMenu(session).has_value(); }));
        QThread::msleep(300);
    }
    void resizeScreen(QSize size) {
        const QString mode = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        session.run("xrandr", {"--newmode", mode, "60", number(size.width()), "0", "0", "0",
                               number(size.height()), "0", "0", "0"});
        session.run("xrandr", {"--addmode", "screen", mode});
        ASSERT_EQ(
            session.run("xrandr", {"--output", "screen", "--mode", mode, "--fb", mode}).exitCode,
            0);
    }

    std::optional<qulonglong> her;
};

TEST_P(AtHome, SheKeepsHerPlaceAndHerWindowThroughHerFirstHour) {
    QPoint place(900, 300);
    StageSettings settings;
    settings.FormLeft = place.x();
    settings.FormTop = place.y();
    // Three anniversaries today and three schedules at 08:30: six balloons in a row.
    for (int slot = 0; slot < kSlotCount; ++slot) {
        EventSlot& day = settings.anniversaries[slot];
        EventSlot& time = settings.schedules[slot];
        day.used = time.used = true;
        day.month = 3;
        day.day = 15;
        time.hour = 8;
        time.minute = 30;
    }
    store(settings);
    auto program = launch(fixedClockEnvironment(QStringLiteral("2026-03-15 08:29:50")));
    expectHerAt(place, "start");
    EXPECT_TRUE(property("_COMPTON_SHADOW").contains("= 0")) << "a compositor draws her shadow";
    for (int balloon = 1; balloon <= 6; ++balloon) {
        ASSERT_TRUE(eventually([&] { return balloonShows(); }, 40000)) << program->report();
        expectHerAt(place, "a balloon shows");
        if (balloon == 3) {
            const QPoint from = at() + kDialCentre;
            session.xdotool({"mousemove", number(from.x()), number(from.y()), "mousedown", "1"});
            for (int step = 1; step <= 6; ++step) {
                session.xdotool(
                    {"mousemove", number(from.x() + 20 * step), number(from.y() + 7 * step)});
                QThread::msleep(50);
            }
            place += QPoint(120, 42);
            expectHerAt(place, "dragged with the balloon showing");
            session.xdotool({"mouseup", "1"});
            shot(QStringLiteral("balloon-after-drag"));
        }
        // The last closes by itself after its time.
        if (balloon < 6)
            closeBalloon();
        EXPECT_TRUE(eventually([&] { return !balloonShows(); }, 40000));
        expectHerAt(place, "a balloon closed");
    }
    for (const bool onTop : {true, false}) {
        menuItem(QStringLiteral("s"));
        expectHerAt(place, "stacking changed");
        EXPECT_EQ(HerWindows::above(session, *her), onTop);
        EXPECT_TRUE(property("WM_WINDOW_ROLE").contains("\"stage\"")) << "her role is lost";
    }
    resizeScreen({1024, 768});
    shot(QStringLiteral("small-screen"));
    resizeScreen(kScreen);
    expectHerAt(place, "the screen grew back");
    shot(QStringLiteral("screen-grew-back"));

    auto second = launch();
    EXPECT_TRUE(second->waitForExit()) << second->report();
    expectHerAt(place, "a second start");
    closeBySignal(*program);
    ASSERT_TRUE(stored().has_value());
    EXPECT_EQ(QPoint(stored()->FormLeft, stored()->FormTop), place) << "the place stored";
    program = launch();
    expectHerAt(place, "the restart");
    closeBySignal(*program);
}

using UnderAShadowingCompositor = ProgramFixture;

TEST_F(UnderAShadowingCompositor, NoShadowDarkensTheDesktopAroundHer) {
    ASSERT_TRUE(session.startWindowManager());
    const QRgb desktop = qRgb(128, 128, 128);
    session.run("xsetroot", {"-solid", "#808080"});
    ASSERT_TRUE(session.startShadowingCompositor());
    StageSettings settings;
    settings.FormLeft = 300;
    settings.FormTop = 200;
    store(settings);
    auto program = launch();
    const auto her = waitForHer(*program, {300, 200});
    ASSERT_TRUE(her.has_value());
    // Around her and between her outline and her window's edges.
    const QRect around(280, 180, 248, 492);
    const QRegion desktopAround =
        QRegion(around) - boundingShapeOf(session, *her).translated(300, 200);
    int darkened = 0;
    const bool clean = eventually(
        [&] {
            const QImage shown = compositedScreenOf(session);
            darkened = 0;
            for (const QRect& band : desktopAround)
                for (int y = band.top(); y <= band.bottom(); ++y)
                    for (int x = band.left(); x <= band.right(); ++x)
                        darkened += qGray(shown.pixel(x, y)) < qGray(desktop) - 8;
            return !shown.isNull() && darkened == 0;
        },
        10000);
    session.screenshot().save(artifactPath(QStringLiteral("home-picom.png")));
    compositedScreenOf(session).save(artifactPath(QStringLiteral("home-picom-composited.png")));
    EXPECT_TRUE(clean) << darkened << " pixels of the desktop around her darkened";
    closeBySignal(*program);
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, AtHome, ::testing::ValuesIn(XSession::windowManagers()),
                         [](const auto& info) { return info.param; });

} // namespace
