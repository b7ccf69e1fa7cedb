// Her window as the X server and a user with a mouse see it: its outline, dragging, the
// popup menu, stacking, the screen saver and the version box; and her clock's priority
// with the program run as a user without privilege.
#include "app/SettingsStore.h"
#include "platform/HiveRegistry.h"
#include "platform/ThreadPriority.h"
#include "stage/AssetCatalogue.h"
#include "support/fixtures/SettingsFile.h"
#include "support/harness/ProcThreadStat.h"
#include "support/harness/UnprivilegedUser.h"
#include "support/harness/XSession.h"
#include "support/harness/XShape.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegion>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {
constexpr QPoint kDialCentre{80 + 64, 256 + 64};

QString number(qint64 value) {
    return QString::number(value);
}

// Her outline as the program's own shapes describe it, in window coordinates.
QRegion expectedShape() {
    const auto body = AssetCatalogue::region(1);
    const auto dial = AssetCatalogue::region(2);
    return body && dial ? (*body | dial->translated(80, 256)) : QRegion();
}

constexpr int kSchedOther = 0;
constexpr int kSchedIdle = 5;

class StageWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(session.ok()) << "Xvfb did not start";
        ASSERT_TRUE(config.isValid());
        ASSERT_FALSE(expectedShape().isEmpty()) << "the program carries no shapes";
    }

    QString hivePath() const { return config.path() + QStringLiteral("/hourling/user.reg"); }
    void store(const StageSettings& settings) { ASSERT_TRUE(storeSettings(hivePath(), settings)); }
    std::optional<qint32> stored(const QString& name) {
        const auto value = storedDword(hivePath(), name);
        return value ? std::optional<qint32>(qint32(*value)) : std::nullopt;
    }

    // Starts the program and waits until she stands shaped on the screen.
    qulonglong launch(const QStringList& environment = {}) {
        program = std::make_unique<ProgramRun>(session, config.path(), environment);
        if (user) {
            EXPECT_TRUE(user->give(config.path()));
            program->runAs(*user);
        }
        EXPECT_TRUE(program->start());
        std::optional<qulonglong> found = session.waitForWindowByClass(QStringLiteral("hourling"));
        EXPECT_TRUE(found.has_value()) << "her window did not appear: " << program->report();
        EXPECT_TRUE(eventually([&] { return stage().has_value(); }));
        return stage().value_or(0);
    }
    // Her window: the program's mapped window of her size. The stacking change may give
    // her a new one.
    std::optional<qulonglong> stage() const {
        for (qulonglong id : programWindows()) {
            if (session.windowGeometry(id).size() == QSize(208, 452) &&
                !boundingShapeOf(session, id).isEmpty())
                return id;
        }
        return std::nullopt;
    }
    std::vector<qulonglong> programWindows() const {
        std::vector<qulonglong> ids;
        for (const QString& id :
             session.xdotool({"search", "--onlyvisible", "--class", "^hourling$"})
                 .split('\n', Qt::SkipEmptyParts))
            ids.push_back(id.toULongLong());
        return ids;
    }
    // A popup menu of the program's that the window manager does not manage.
    std::optional<QRect> openMenu() const {
        for (qulonglong id : programWindows()) {
            const QByteArray info = session.run("xwininfo", {"-id", number(id)}).out;
            if (info.contains("Override Redirect State: yes"))
                return session.windowGeometry(id);
        }
        return std::nullopt;
    }
    QPoint onScreen(qulonglong window, QPoint inWindow) const {
        return session.windowGeometry(window).topLeft() + inWindow;
    }
    void pointAt(QPoint at) const {
        session.xdotool({"mousemove", number(at.x()), number(at.y())});
    }
    void rightClickOn(qulonglong window, QPoint inWindow = kDialCentre) const {
        pointAt(onScreen(window, inWindow));
        session.xdotool({"click", "3"});
    }
    // Opens her menu, with keys held if any, and returns its size on the screen.
    QSize menuSizeWithKeysHeld(qulonglong window, const QStringList& keys,
                               const QString& screenshot = {}) {
        if (!keys.isEmpty())
            session.xdotool(QStringList{"keydown"} + keys);
        rightClickOn(window);
        std::optional<QRect> menu;
        EXPECT_TRUE(eventually([&] { return (menu = openMenu()).has_value(); }))
            << "no menu opened";
        if (!screenshot.isEmpty())
            keepScreenshot(screenshot);
        if (!keys.isEmpty())
            session.xdotool(QStringList{"keyup"} + keys);
        session.xdotool({"key", "Escape"});
        EXPECT_TRUE(eventually([&] { return !openMenu().has_value(); }));
        letTheMenuLetGo();
        return menu.value_or(QRect()).size();
    }
    // Picks a menu item by its accelerator key.
    void pickFromMenu(qulonglong window, const QString& key) {
        rightClickOn(window);
        ASSERT_TRUE(eventually([&] { return openMenu().has_value(); })) << "no menu opened";
        session.xdotool({"key", key});
        ASSERT_TRUE(eventually([&] { return !openMenu().has_value(); }));
        letTheMenuLetGo();
    }
    // A closed menu gives the pointer back a moment after it vanishes; a click sent at
    // machine speed in between would go to the menu, never to her.
    static void letTheMenuLetGo() { QThread::msleep(300); }
    void dragBy(QPoint from, QPoint by, const QString& button = QStringLiteral("1")) {
        pointAt(from);
        session.xdotool({"mousedown", button});
        // In steps, as a hand moves.
        for (int step = 1; step <= 5; ++step) {
            const QPoint at = from + by * step / 5;
            pointAt(at);
            QThread::msleep(50);
        }
        session.xdotool({"mouseup", button});
    }
    void closeAndWait() {
        program->sendSignal(SIGTERM);
        ASSERT_TRUE(program->waitForExit());
    }
    void keepScreenshot(const QString& name) const {
        session.screenshot().save(artifactPath(name));
    }

    XSession session;
    QTemporaryDir config;
    std::unique_ptr<ProgramRun> program;
    // Who runs the program, when not the test's own user.
    std::unique_ptr<UnprivilegedUser> user;
};

TEST_F(StageWindow, StandsAtHerStoredPlaceCutToHerOutlineAndLetsOtherClicksThrough) {
    // A window beneath her that reports every press it gets.
    QProcess beneath;
    beneath.setProcessEnvironment(session.environment());
    // Line by line, so that each press can be read as it happens.
    beneath.start("stdbuf", {"-oL", "xev", "-geometry", "700x650+0+0", "-event", "button"});
    ASSERT_TRUE(session.waitForWindowByName(QStringLiteral("Event Tester")).has_value());

    StageSettings settings;
    settings.FormLeft = 120;
    settings.FormTop = 90;
    store(settings);
    const qulonglong window = launch();
    ASSERT_NE(window, 0u);
    EXPECT_EQ(session.windowGeometry(window), QRect(120, 90, 208, 452));
    EXPECT_EQ(boundingShapeOf(session, window), expectedShape());
    keepScreenshot(QStringLiteral("stage.png"));

    // Inside her rectangle, beside her head and above the dial: not part of her.
    const QPoint hole(200, 5);
    ASSERT_FALSE(expectedShape().contains(hole));
    pointAt(onScreen(window, kDialCentre));
    session.xdotool({"click", "1"});
    pointAt(onScreen(window, hole));
    session.xdotool({"click", "1"});
    QByteArray seen;
    auto readBeneath = [&] {
        beneath.waitForReadyRead(100);
        seen += beneath.readAllStandardOutput();
    };
    EXPECT_TRUE(eventually([&] {
        readBeneath();
        return seen.count("ButtonPress event") >= 1;
    })) << "the click in the hole did not reach the window beneath";
    for (int i = 0; i < 5; ++i)
        readBeneath();
    EXPECT_EQ(seen.count("ButtonPress event"), 1) << "the click on her went through her";
    beneath.kill();
    beneath.waitForFinished(5000);
    closeAndWait();
}

class Dragging : public StageWindow, public ::testing::WithParamInterface<bool> {};

TEST_P(Dragging, ThePrimaryButtonMovesHerByTheDragAndTheExitItemStoresThePlace) {
    if (GetParam()) {
        ASSERT_TRUE(session.startWindowManager());
    }
    const qulonglong window = launch();
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(
        eventually([&] { return session.windowGeometry(window).topLeft() == QPoint(40, 64); }));

    // A press and release in place neither moves her nor opens her menu.
    pointAt(onScreen(window, kDialCentre));
    session.xdotool({"click", "1"});
    QThread::msleep(300);
    EXPECT_FALSE(openMenu().has_value());
    EXPECT_EQ(session.windowGeometry(window).topLeft(), QPoint(40, 64));

    dragBy(onScreen(window, kDialCentre), QPoint(150, 40));
    EXPECT_TRUE(eventually([&] {
        return session.windowGeometry(window).topLeft() == QPoint(190, 104);
    })) << "she is at "
        << session.windowGeometry(window).x() << "," << session.windowGeometry(window).y();
    EXPECT_FALSE(openMenu().has_value());

    pickFromMenu(window, QStringLiteral("x"));
    ASSERT_TRUE(program->waitForExit());
    EXPECT_EQ(program->exitCode(), 0);
    EXPECT_EQ(stored(QStringLiteral("FormLeft")), std::optional<qint32>(190));
    EXPECT_EQ(stored(QStringLiteral("FormTop")), std::optional<qint32>(104));
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWindowManager, Dragging, ::testing::Bool(),
                         [](const auto& info) {
                             return std::string(info.param ? "WindowManager" : "Bare");
                         });

TEST_F(StageWindow, WithSwappedButtonsTheRightOneDragsAndTheLeftOneOpensTheMenu) {
    ASSERT_EQ(session.run("xmodmap", {"-e", "pointer = 3 2 1"}).exitCode, 0);
    const qulonglong window = launch();
    ASSERT_NE(window, 0u);
    dragBy(onScreen(window, kDialCentre), QPoint(-30, 60), QStringLiteral("3"));
    EXPECT_TRUE(
        eventually([&] { return session.windowGeometry(window).topLeft() == QPoint(10, 124); }));
    EXPECT_FALSE(openMenu().has_value());

    pointAt(onScreen(window, kDialCentre));
    session.xdotool({"click", "1"});
    EXPECT_TRUE(eventually([&] { return openMenu().has_value(); }));
    session.xdotool({"key", "Escape"});
    closeAndWait();
}

TEST_F(StageWindow, TheHeldKeysAddTheHiddenEntriesToTheMenu) {
    const qulonglong window = launch();
    ASSERT_NE(window, 0u);
    const QSize plain = menuSizeWithKeysHeld(window, {}, QStringLiteral("menu.png"));
    const QSize debug = menuSizeWithKeysHeld(window, {"Control_L", "Shift_L"});
    const QSize priority = menuSizeWithKeysHeld(window, {"Control_L", "Down"});
    const QSize both = menuSizeWithKeysHeld(window, {"Control_L", "Shift_L", "Down"});
    const QSize withoutControl = menuSizeWithKeysHeld(window, {"Shift_L", "Down"});
    ASSERT_FALSE(plain.isEmpty());
    EXPECT_GT(debug.height(), plain.height());
    EXPECT_GT(priority.height(), plain.height());
    EXPECT_GT(both.height(), debug.height());
    EXPECT_GT(both.height(), priority.height());
    EXPECT_EQ(withoutControl, plain);
    // Gone again at the next opening without them.
    EXPECT_EQ(menuSizeWithKeysHeld(window, {}), plain);
    closeAndWait();
}

TEST_F(StageWindow, TheScreenSaverIdlesTheClockThreadUntilTheDialIsPaintedAgain) {
    StageSettings settings;
    settings.ThreadPrio = 1; // nice +10, which tells the clock thread from the others
    store(settings);
    const qulonglong window = launch();
    ASSERT_NE(window, 0u);
    auto clockThreads = [&](int nice, int policy) {
        int count = 0;
        for (const ProcThreadStat& thread : ProcThreadStat::threadsOf(pid_t(program->pid())))
            count += thread.nice == nice && thread.policy == policy;
        return count;
    };
    ASSERT_TRUE(eventually([&] { return clockThreads(10, kSchedOther) == 1; }))
        << "no clock thread at the chosen level";

    ASSERT_EQ(session.run("xset", {"s", "activate"}).exitCode, 0);
    EXPECT_TRUE(eventually([&] { return clockThreads(10, kSchedOther) == 0; }))
        << "the clock thread kept its level while the screen was saved";
    // It stays idle while the saver runs: nobody sees the dial to paint it.
    QThread::msleep(2500);
    EXPECT_EQ(clockThreads(10, kSchedOther), 0);
    EXPECT_EQ(clockThreads(0, kSchedIdle) + clockThreads(10, kSchedIdle), 1);

    ASSERT_EQ(session.run("xset", {"s", "reset"}).exitCode, 0);
    EXPECT_TRUE(eventually([&] { return clockThreads(10, kSchedOther) == 1; }))
        << "the next paint of the dial did not restore the chosen level";
    closeAndWait();
}

TEST_F(StageWindow, TheVersionBoxOpensModallyOverHerAndClosesWithOk) {
    StageSettings settings;
    settings.FormLeft = 300;
    settings.FormTop = 150;
    store(settings);
    const qulonglong window = launch();
    ASSERT_NE(window, 0u);
    pickFromMenu(window, QStringLiteral("a"));

    const auto box = session.waitForWindowByName(QStringLiteral("バージョン情報"));
    ASSERT_TRUE(box.has_value()) << "no version box";
    const QRect where = session.windowGeometry(*box);
    EXPECT_EQ(where.size(), QSize(298, 213));
    const QPoint offCentre = where.center() - QRect(300, 150, 208, 452).center();
    EXPECT_LE(offCentre.manhattanLength(), 2) << "not centred on her";
    keepScreenshot(QStringLiteral("about.png"));

    // While it shows, she takes no clicks.
    rightClickOn(window);
    QThread::msleep(500);
    EXPECT_FALSE(openMenu().has_value());

    pointAt(where.topLeft() + QPoint(111 + 37, 180 + 12));
    session.xdotool({"click", "1"});
    EXPECT_TRUE(eventually([&] {
        return session.xdotool({"search", "--onlyvisible", "--name", "^バージョン情報$"}).isEmpty();
    }));
    // And afterwards she answers again.
    rightClickOn(window);
    EXPECT_TRUE(eventually([&] { return openMenu().has_value(); }));
    session.xdotool({"key", "Escape"});
    closeAndWait();
}

TEST_F(StageWindow, InAnEnglishSessionHerMenuAndDialogsSpeakEnglishAndFitIt) {
    ASSERT_TRUE(session.startWindowManager());
    const qulonglong window =
        launch({QStringLiteral("LANG=en_US.UTF-8"), QStringLiteral("LANGUAGE=en_US:en"),
                QStringLiteral("LC_ALL=en_US.UTF-8")});
    ASSERT_NE(window, 0u);
    const QSize menu = menuSizeWithKeysHeld(window, {}, QStringLiteral("english-menu.png"));
    EXPECT_GT(menu.width(), 0);

    rightClickOn(window);
    ASSERT_TRUE(eventually([&] { return openMenu().has_value(); })) << "no menu opened";
    // The items without an accelerator are reached with the arrow keys.
    session.xdotool({"key", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Return"});
    const auto dialog = session.waitForWindowByName(QStringLiteral("Schedules"));
    ASSERT_TRUE(dialog.has_value()) << "no schedule dialog";
    // Wider than the Japanese one, as its date row's words need.
    EXPECT_GT(session.windowGeometry(*dialog).width(), 320);
    QThread::msleep(300);
    keepScreenshot(QStringLiteral("english-schedule-dialog.png"));
    session.xdotool({"key", "--window", number(*dialog), "Escape"});
    EXPECT_TRUE(eventually([&] {
        return session.xdotool({"search", "--onlyvisible", "--name", "^Schedules$"}).isEmpty();
    }));
    closeAndWait();
}

// The program run as nobody, as people run it: a thread without privilege can lower its
// priority but never raise it again in place.
class AsNobody : public StageWindow {
protected:
    void SetUp() override {
        StageWindow::SetUp();
        if (HasFatalFailure())
            return;
        user = std::make_unique<UnprivilegedUser>(session);
        if (!user->unavailable().isEmpty())
            GTEST_SKIP() << user->unavailable().toStdString();
    }
    qulonglong launchAsNobody() {
        const qulonglong window = launch();
        EXPECT_EQ(unprivilegedProblem(pid()), QString()) << "the program kept a privilege";
        return window;
    }
    pid_t pid() const { return pid_t(program->pid()); }

    // The level the system grants the program's clock for a level: those above normal need
    // a nice limit that nobody does not usually have.
    int granted(int level) const {
        const int uiNice = ProcThreadStat::of(pid(), pid()).nice;
        const long limit = std::stol(niceLimit());
        for (int l = level; l >= 1; --l) {
            const int nice = ThreadPriority::niceOf(l);
            if (nice >= uiNice || 20 - nice <= limit)
                return l;
        }
        return level;
    }
    std::string niceLimit() const {
        std::ifstream limits("/proc/" + std::to_string(pid()) + "/limits");
        for (std::string line; std::getline(limits, line);) {
            if (line.rfind("Max nice priority", 0) == 0) {
                std::istringstream fields(line.substr(std::strlen("Max nice priority")));
                std::string soft;
                fields >> soft;
                return soft == "unlimited" ? "40" : soft;
            }
        }
        return "0";
    }
    // Exactly one clock thread, at that level.
    bool clockAt(int level) const {
        const auto clocks = ProcThreadStat::threadsNamed(pid(), "TClocker");
        return clocks.size() == 1 && clocks.front().showsLevel(level);
    }
    std::string clockThreads() const {
        std::string text;
        for (const ProcThreadStat& clock : ProcThreadStat::threadsNamed(pid(), "TClocker"))
            text += " [" + std::to_string(clock.tid) + ": policy " + std::to_string(clock.policy) +
                    ", nice " + std::to_string(clock.nice) + "]";
        return text.empty() ? " none" : text;
    }
    // Picks a level from the priority submenu with the keyboard, as a user could.
    void choosePriority(qulonglong window, int level) {
        session.xdotool({"keydown", "Control_L", "Down"});
        rightClickOn(window);
        const bool opened = eventually([&] { return openMenu().has_value(); });
        session.xdotool({"keyup", "Control_L", "Down"});
        ASSERT_TRUE(opened) << "no menu opened";
        // The version item, then the priority submenu, opened on its first item.
        QStringList keys{"key", "Down", "Down", "Right"};
        for (int k = 0; k < level; ++k)
            keys << "Down";
        keys << "Return";
        session.xdotool(keys);
        ASSERT_TRUE(eventually([&] { return !openMenu().has_value(); }));
        letTheMenuLetGo();
    }
};

class StoredLevelAsNobody : public AsNobody, public ::testing::WithParamInterface<int> {};

TEST_P(StoredLevelAsNobody, TheClockStartsAtTheStoredLevel) {
    StageSettings settings;
    settings.ThreadPrio = GetParam();
    store(settings);
    const qulonglong window = launchAsNobody();
    ASSERT_NE(window, 0u);
    const int expected = granted(GetParam());
    EXPECT_TRUE(eventually([&] { return clockAt(expected); }))
        << "expected level " << expected << ", found" << clockThreads();
    closeAndWait();
    EXPECT_EQ(stored(QStringLiteral("ThreadPrio")), std::optional<qint32>(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, StoredLevelAsNobody, ::testing::Range(0, 6));

TEST_F(AsNobody, ThePriorityMenuMovesTheClockUpAndDown) {
    const qulonglong window = launchAsNobody();
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(eventually([&] { return clockAt(0); })) << "found" << clockThreads();
    // Up from idle, down, up by one step, above normal, down to idle and up again.
    for (int level : {3, 1, 2, 5, 0, 3}) {
        choosePriority(window, level);
        const int expected = granted(level);
        EXPECT_TRUE(eventually([&] { return clockAt(expected); }))
            << "chose " << level << ", expected " << expected << ", found" << clockThreads();
    }
    closeAndWait();
    EXPECT_EQ(stored(QStringLiteral("ThreadPrio")), std::optional<qint32>(3));
}

TEST_F(AsNobody, TheScreenSaverIdlesTheClockAndTheNextPaintRestoresItsLevel) {
    StageSettings settings;
    settings.ThreadPrio = 3;
    store(settings);
    const qulonglong window = launchAsNobody();
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(eventually([&] { return clockAt(3); })) << "found" << clockThreads();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(session.run("xset", {"s", "activate"}).exitCode, 0);
        EXPECT_TRUE(eventually([&] { return clockAt(0); })) << "found" << clockThreads();
        // The saver ends with a move of the mouse, and the dial is painted again.
        pointAt(onScreen(window, {10 + 20 * round, 10}));
        pointAt(onScreen(window, kDialCentre));
        EXPECT_TRUE(eventually([&] { return clockAt(3); }))
            << "the next paint did not restore the chosen level; found" << clockThreads();
    }
    closeAndWait();
}
} // namespace
