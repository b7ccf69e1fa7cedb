// Her first hour under each window manager people run, with its stock configuration (openbox
// under a compositor that draws shadows): balloons closed by their button and by their own
// time, a drag while one shows, the stacking changed twice, the screen shrinking and growing
// back, her size changed twice, a second start, the close and a restart.
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
        session.run("xsetroot", {"-solid", "#808080"});
        ASSERT_TRUE(GetParam() != "openbox" || session.startShadowingCompositor());
    }
    QPoint at() const { return session.windowGeometry(her.value_or(0)).topLeft(); }
    void shot(const QString& step) const {
        session.screenshot().save(artifactPath(
            QStringLiteral("home-%1-%2.png").arg(QString::fromStdString(GetParam()), step)));
    }
    // She stands there, shown, at her size, her balloon beside her mouth while it shows.
    void expectHerAt(QPoint place, const char* step) {
        const QRect mouth(QPoint(qRound(40 * size_), qRound(108 * size_)),
                          QPoint(qRound(121 * size_) - 1, qRound(145 * size_) - 1));
        QPoint beside;
        EXPECT_TRUE(eventually([&] {
            her = HerWindows::stage(session);
            const auto balloon = session.waitForWindowByName(QStringLiteral("MessageBalloon"), 50);
            beside = balloon ? session.windowGeometry(*balloon).topLeft() : QPoint();
            const QSize size = QSize(208, 452) * size_;
            return her && at() == place && session.windowGeometry(*her).size() == size &&
                   session.viewable(*her) &&
                   (!balloon ||
                    beside == placeBalloon(balloonCorner(place, size, QRect(QPoint(), kScreen)),
                                           place, mouth, {240, 160}, QRect(35, 48, 169, 65))
                                  .position);
        })) << step
            << ": she is " << (her ? "" : "not ") << "shown, at " << at().x() << "," << at().y()
            << ", not " << place.x() << "," << place.y() << "; her balloon at " << beside.x() << ","
            << beside.y();
    }
    // Her menu opened on her dial, the keys pressed in it.
    void inMenu(const QStringList& keys) {
        const QPoint dial = at() + kDialCentre * size_;
        session.xdotool({"mousemove", number(dial.x()), number(dial.y()), "click", "3"});
        ASSERT_TRUE(eventually([&] { return HerWindows::openMenu(session).has_value(); }));
        session.xdotool(QStringList{"key"} + keys);
        QThread::msleep(300);
    }
    // Picks her size, the nth under 大きさ: the ninth item shown.
    void pickSize(int nth, qreal size) {
        inMenu(QStringList(9, "Down") + QStringList{"Right"} + QStringList(nth - 1, "Down") +
               QStringList{"Return"});
        size_ = size;
    }
    void resizeScreen(QSize size) {
        const QString mode = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        session.run("xrandr", {"--newmode", mode, "60", number(size.width()), "0", "0", "0",
                               number(size.height()), "0", "0", "0"});
        session.run("xrandr", {"--addmode", "screen", mode});
        session.run("xrandr", {"--output", "screen", "--mode", mode, "--fb", mode});
    }

    std::optional<qulonglong> her;
    qreal size_ = 1;
};

TEST_P(AtHome, SheKeepsHerPlaceAndHerWindowThroughHerFirstHour) {
    // A corner, as a drag into it leaves her; three anniversaries today and three schedules
    // at 08:30 give six balloons in a row.
    QPoint place(0, 0);
    StageSettings settings;
    settings.FormLeft = settings.FormTop = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        settings.anniversaries[slot].used = settings.schedules[slot].used = true;
        settings.anniversaries[slot].month = 3;
        settings.anniversaries[slot].day = 15;
        settings.schedules[slot].hour = 8;
        settings.schedules[slot].minute = 30;
    }
    store(settings);
    auto program = launch(fixedClockEnvironment(QStringLiteral("2026-03-15 08:29:50")));
    expectHerAt(place, "start");
    const QString hint = QString::fromUtf8(session.run("xprop", {"-id", number(*her)}).out);
    EXPECT_TRUE(hint.contains("_COMPTON_SHADOW(CARDINAL) = 0")) << "a compositor shadows her";
    for (int balloon = 1; balloon <= 6; ++balloon) {
        ASSERT_TRUE(eventually([&] { return balloonShows(); }, 40000)) << program->report();
        expectHerAt(place, "a balloon shows");
        if (balloon == 3) {
            const QPoint from = at() + kDialCentre;
            session.xdotool({"mousemove", number(from.x()), number(from.y()), "mousedown", "1"});
            // icewm snaps a moved window's edge to any other's within 8 pixels, her balloon's
            // too, which may still stand where a step before left it: no step here brings an
            // edge of hers that near one of her balloon's.
            for (int step = 1; step <= 6; ++step) {
                session.xdotool(
                    {"mousemove", number(from.x() + 170 * step), number(from.y() + 45 * step)});
                QThread::msleep(50);
            }
            place = QPoint(1020, 270);
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
    {
        // xfwm4's own compositor paints the desktop black whatever the root's colour.
        const QRegion around = QRegion(QRect(place - QPoint(20, 20), QSize(248, 492))) -
                               boundingShapeOf(session, *her).translated(place);
        EXPECT_TRUE(eventually([&] {
            const QImage shown =
                GetParam() == "openbox" ? compositedScreenOf(session) : session.screenshot();
            const int desktop = qGray(shown.pixel(kScreen.width() - 5, 5));
            for (const QRect& band : around)
                for (int y = band.top(); y <= band.bottom(); ++y)
                    for (int x = band.left(); x <= band.right(); ++x)
                        if (qGray(shown.pixel(x, y)) + 8 < desktop)
                            return false;
            return !shown.isNull();
        })) << "a shadow or a box darkens the desktop around her";
    }
    for (const bool onTop : {true, false}) {
        inMenu({"s"});
        expectHerAt(place, "stacking changed");
        EXPECT_EQ(HerWindows::above(session, *her), onTop);
        EXPECT_TRUE(
            session.run("xprop", {"-id", number(*her), "WM_WINDOW_ROLE"}).out.contains("\"stage\""))
            << "her role is lost";
    }
    // At 200 % she would reach below the screen: she rises just enough, and at 50 % stands
    // where she stood.
    pickSize(6, 2);
    EXPECT_TRUE(eventually([&] {
        her = HerWindows::stage(session);
        const QRect shown = session.windowGeometry(her.value_or(0));
        return shown.size() == QSize(416, 904) && shown.x() == place.x() &&
               shown.bottom() < kScreen.height() && shown.y() > place.y() - 250;
    })) << "at 200 % she is not whole on the screen just above her place";
    shot(QStringLiteral("size-200"));
    pickSize(1, 0.5);
    expectHerAt(place, "at half her size");
    shot(QStringLiteral("size-50"));
    resizeScreen({1024, 768});
    shot(QStringLiteral("small-screen"));
    resizeScreen(kScreen);
    expectHerAt(place, "the screen grew back");

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

INSTANTIATE_TEST_SUITE_P(WindowManagers, AtHome, ::testing::ValuesIn(XSession::windowManagers()),
                         [](const auto& info) { return info.param; });

} // namespace
