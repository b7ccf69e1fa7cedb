// The balloon and the minimised state on a private X server with a window manager, beside a
// plain window standing in for hers: where the X server has the balloon, its shape, how it
// follows a drag, what it shows, and minimising and restoring through the window manager.
#include "platform/CompositorWatch.h"
#include "platform/StageTimer.h"
#include "platform/X11Connection.h"
#include "platform/X11Shape.h"
#include "support/fixtures/BalloonRig.h"
#include "support/fixtures/QtPrinters.h"
#include "support/fixtures/TestApplication.h"
#include "support/harness/XSession.h"
#include "support/harness/XShape.h"
#include "voice/BalloonGeometry.h"

#include <QLabel>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

const QRect kMouth(40, 108, 81, 37);
// On 1024 x 768 her centre row is 326, between the quarter and the half: above her mouth.
const QPoint kLeftHalf(100, 100);
const QPoint kRightHalf(600, 100);

QString id(const QWidget& window) {
    return QString::number(window.winId());
}

class OnScreen : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(session.ok()) << "Xvfb did not start";
        stage.resize(208, 452);
        stage.move(kLeftHalf);
        stage.show();
        ASSERT_TRUE(settle([&] { return onScreen(stage) == QRect(kLeftHalf, stage.size()); }));
    }

    // Lets the application run until the condition holds.
    static bool settle(const std::function<bool()>& condition) {
        return eventually(
            [&] {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
                return condition();
            },
            20000);
    }
    QRect onScreen(const QWidget& window) const { return session.windowGeometry(window.winId()); }
    bool mapped(const QWidget& window) const {
        return session.run("xwininfo", {"-id", id(window)}).out.contains("IsViewable");
    }
    static QRegion shapeFor(int corner) {
        return *balloonShape(QRect(0, 30, 240, 100),
                             placeBalloon(corner, {}, kMouth, {240, 160}, {35, 48, 169, 65}).tail);
    }

    QApplication& app = screenApplication(true);
    const XSession& session = screenSession();
    QtTimerFactory timers;
    CompositorWatch compositor;
    BalloonRig rig{timers, kMouth, &compositor};
    QWidget& stage = rig.stage;
    MinimizeWatch& minimize = rig.minimize;
    TMessageBalloon& balloon = rig.balloon;
};

TEST_F(OnScreen, TheBalloonStandsAtItsCornersPlaceShapedAsBodyAndTail) {
    balloon.placeBalloon(true);
    ASSERT_EQ(balloon.corner(), 2);
    const QRect expected(kLeftHalf + QPoint(121, -52), QSize(240, 160));
    ASSERT_TRUE(settle([&] { return mapped(balloon) && onScreen(balloon) == expected; }))
        << "at " << onScreen(balloon).x() << "," << onScreen(balloon).y();
    EXPECT_EQ(boundingShapeOf(session, balloon.winId()), shapeFor(2));
    // Found by its title, and kept off the taskbar.
    EXPECT_EQ(session.waitForWindowByName("MessageBalloon").value_or(0), balloon.winId());
    EXPECT_TRUE(session.run("xprop", {"-id", id(balloon), "_NET_WM_STATE"})
                    .out.contains("_NET_WM_STATE_SKIP_TASKBAR"));
    // A style taken while hidden: a new native window, which the widget's id does not name.
    closeButton(balloon).click();
    rig.stacking.setStayOnTop(!rig.stayOnTop);
    balloon.placeBalloon(true);
    const qulonglong window = balloon.windowHandle()->winId();
    EXPECT_TRUE(settle([&] {
        return session.viewable(window) && boundingShapeOf(session, window) == shapeFor(2);
    }));
}

TEST_F(OnScreen, TheBalloonFollowsADragAcrossTheMiddleToHerOtherSide) {
    balloon.placeBalloon(true);
    ASSERT_TRUE(settle([&] { return mapped(balloon); }));
    session.xdotool({"windowmove", id(stage), QString::number(kRightHalf.x()),
                     QString::number(kRightHalf.y())});
    const QRect expected(kRightHalf + QPoint(-200, -52), QSize(240, 160));
    ASSERT_TRUE(settle([&] { return onScreen(balloon) == expected; }))
        << "at " << onScreen(balloon).x() << "," << onScreen(balloon).y();
    EXPECT_EQ(balloon.corner(), 3);
    EXPECT_EQ(boundingShapeOf(session, balloon.winId()), shapeFor(3));
}

TEST_F(OnScreen, UnderACompositingManagerItsEdgeShowsAFringeThatTakesNoClicks) {
    balloon.placeBalloon(true);
    auto shape = [&](bool in) { return x11WindowShape(x11Connection(), balloon.winId(), in); };
    QProcess manager;
    manager.start(QStringLiteral("xcompmgr"), {});
    ASSERT_TRUE(settle([&] { return compositor.running() && shape(false) != shapeFor(2); }));
    EXPECT_TRUE((shapeFor(2) - shape(false)).isEmpty());
    EXPECT_EQ(shape(true), shapeFor(2));
}

TEST_F(OnScreen, AMessageWithMarkupShowsItsCharacters) {
    messageArea(balloon).setText(QStringLiteral("<b>x</b>"));
    balloon.placeBalloon(true);
    const QRect area(balloon.pos() + QPoint(7, 40), QSize(226, 64));
    // The ink of the message's first line, from the X server's screen.
    auto inkWidth = [&] {
        const QImage screen = session.screenshot().copy(area);
        int left = screen.width(), right = -1;
        for (int y = 0; y < screen.height(); ++y)
            for (int x = 0; x < screen.width(); ++x)
                if (qGray(screen.pixel(x, y)) < 128)
                    left = std::min(left, x), right = std::max(right, x);
        return right - left + 1;
    };
    // Eight characters of a 12-pixel face, not one bold letter.
    EXPECT_TRUE(settle([&] { return inkWidth() > 30; })) << inkWidth();
}

TEST_F(OnScreen, MinimisingAndRestoringThroughTheWindowManagerAreSeen) {
    session.xdotool({"windowminimize", id(stage)});
    ASSERT_TRUE(settle([&] { return minimize.appMinimized(); }));
    EXPECT_FALSE(mapped(stage));

    minimize.restoreApp();
    EXPECT_TRUE(settle([&] { return mapped(stage) && !minimize.appMinimized(); }));

    minimize.minimizeApp();
    EXPECT_TRUE(settle([&] { return !mapped(stage) && minimize.appMinimized(); }));
}

TEST_F(OnScreen, TheBalloonRestoresAMinimisedProgram) {
    session.xdotool({"windowminimize", id(stage)});
    ASSERT_TRUE(settle([&] { return minimize.appMinimized(); }));
    balloon.placeBalloon(true);
    EXPECT_TRUE(settle([&] { return mapped(stage) && mapped(balloon); }));
    EXPECT_TRUE(balloon.restoredApp());
}

} // namespace
