// Her windows under a window manager with several workspaces: she and her balloon stay in
// sight whichever the user switches to, through the balloon's hide and show; her size
// hints fix her size; each window has a role a window-manager rule can match.
#include "support/harness/ProgramFixture.h"

#include <gtest/gtest.h>

namespace {

const QPoint kHerPlace(100, 100);
const QString kBalloon = QStringLiteral("MessageBalloon");

class Workspaces : public ProgramFixture {
protected:
    QString property(qulonglong window, const QString& name) const {
        return QString::fromUtf8(session.run("xprop", {"-id", QString::number(window), name}).out)
            .trimmed();
    }
    bool visible(qulonglong window) const {
        return session.run("xwininfo", {"-id", QString::number(window)})
            .out.contains("Map State: IsViewable");
    }
    // Each workspace in turn, with the window in sight on each.
    void expectOnEveryWorkspace(qulonglong window, const char* what) {
        EXPECT_EQ(property(window, "_NET_WM_DESKTOP"), "_NET_WM_DESKTOP(CARDINAL) = 4294967295")
            << what;
        for (const char* desktop : {"2", "1", "0"}) {
            session.xdotool({"set_desktop", desktop});
            ASSERT_TRUE(eventually([&] { return session.xdotool({"get_desktop"}) == desktop; }));
            EXPECT_TRUE(eventually([&] { return visible(window); }, 5000))
                << what << " not in sight on workspace " << desktop;
        }
    }
};

TEST_F(Workspaces, SheAndHerBalloonStayInSightOnEveryWorkspaceAndTellTheirRoles) {
    ASSERT_TRUE(session.startWindowManager());
    ASSERT_EQ(session.xdotool({"get_num_desktops"}).toInt(), 4) << "openbox has its defaults";
    StageSettings settings;
    settings.FormLeft = kHerPlace.x();
    settings.FormTop = kHerPlace.y();
    for (int slot : {0, 1}) {
        settings.schedules[slot].used = true;
        settings.schedules[slot].hour = 8;
        settings.schedules[slot].minute = 30;
    }
    store(settings);
    auto program = launch(fixedClockEnvironment(QStringLiteral("2026-03-15 08:29:56")));
    const auto her = waitForHer(*program, kHerPlace);
    ASSERT_TRUE(her.has_value());

    const QString hints = property(*her, "WM_NORMAL_HINTS");
    EXPECT_TRUE(hints.contains("program specified minimum size: 208 by 452"))
        << hints.toStdString();
    EXPECT_TRUE(hints.contains("program specified maximum size: 208 by 452"))
        << hints.toStdString();
    EXPECT_EQ(property(*her, "WM_WINDOW_ROLE"), "WM_WINDOW_ROLE(STRING) = \"stage\"");
    expectOnEveryWorkspace(*her, "she");

    // Two schedules of one minute: the balloon hides after the first and shows again.
    for (int announcement : {1, 2}) {
        ASSERT_TRUE(eventually([&] { return balloonShows(); }, 60000))
            << "no balloon " << announcement << ": " << program->report();
        const auto balloon = session.waitForWindowByName(kBalloon);
        ASSERT_TRUE(balloon.has_value());
        EXPECT_EQ(property(*balloon, "WM_WINDOW_ROLE"), "WM_WINDOW_ROLE(STRING) = \"balloon\"");
        expectOnEveryWorkspace(*balloon, "her balloon");
        closeBalloon();
        ASSERT_TRUE(eventually([&] { return !balloonShows(); }));
    }
    closeBySignal(*program);
}

} // namespace
