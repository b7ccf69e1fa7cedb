// The balloon's life beside a plain window standing in for hers, on a manual timeline:
// showing, following, the 30 s close, the button and Enter, the minimised program, the
// stacking style, and what it shows.
#include "support/fakes/FakeTimeline.h"
#include "support/fixtures/BalloonRig.h"
#include "support/fixtures/QtPrinters.h"
#include "support/fixtures/TestApplication.h"
#include "voice/BalloonGeometry.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

const QRect kMouth(40, 108, 81, 37);
// On the offscreen screen of 800 x 800 (half 400, quarter 200), her centre at row 126:
// the balloon goes below her mouth.
const QPoint kLeftHalf(50, -100);
const QPoint kRightHalf(400, -100);

// Counts the hides and shows of a window.
class ShowCounter : public QObject {
public:
    int hides = 0;
    int shows = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        hides += event->type() == QEvent::Hide;
        shows += event->type() == QEvent::Show;
        return false;
    }
};

class MessageBalloon : public ::testing::Test {
protected:
    MessageBalloon() {
        stage.resize(208, 452);
        stage.move(kLeftHalf);
        stage.show();
        stage.installEventFilter(&stageShows);
    }

    QRegion shapeFor(int corner) const {
        return *balloonShape(QRect(0, 30, 240, 100),
                             placeBalloon(corner, {}, kMouth, {240, 160}, {35, 48, 169, 65}).tail);
    }
    bool minimized() const { return stage.windowState().testFlag(Qt::WindowMinimized); }

    int voiceStops() const { return rig.sound.stopCalls; }

    QApplication& app = testApplication();
    FakeTimeline timeline;
    BalloonRig rig{timeline, kMouth};
    QWidget& stage = rig.stage;
    MinimizeWatch& minimize = rig.minimize;
    bool& stayOnTop = rig.stayOnTop;
    TMessageBalloon& balloon = rig.balloon;
    ShowCounter stageShows;
};

TEST_F(MessageBalloon, ShowsBesideHerMouthShapedAsBodyAndTail) {
    balloon.placeBalloon(true);
    ASSERT_TRUE(balloon.isVisible());
    EXPECT_EQ(balloon.corner(), 0);
    EXPECT_EQ(balloon.pos(), kLeftHalf + QPoint(121, 145));
    EXPECT_EQ(balloon.boundingShape(), shapeFor(0));
    EXPECT_EQ(balloon.shapedForStageAt(), kLeftHalf);
}

TEST_F(MessageBalloon, FollowsHerWithin250MsAndStillClosesAt30s) {
    balloon.placeBalloon(true);
    timeline.advance(10'000);
    stage.move(kRightHalf);
    timeline.advance(249);
    EXPECT_EQ(balloon.pos(), kLeftHalf + QPoint(121, 145));
    timeline.advance(1);
    // Across the middle: the other side of her mouth, the tail at the other top corner.
    EXPECT_EQ(balloon.corner(), 1);
    EXPECT_EQ(balloon.pos(), kRightHalf + QPoint(-200, 145));
    EXPECT_EQ(balloon.boundingShape(), shapeFor(1));

    timeline.advance(30'000 - 10'250 - 1);
    EXPECT_TRUE(balloon.isVisible());
    timeline.advance(1);
    EXPECT_FALSE(balloon.isVisible());
}

TEST_F(MessageBalloon, ClosingLeavesHerShownAndStopsTheVoiceOnce) {
    balloon.placeBalloon(true);
    const int hides = stageShows.hides;
    const int shows = stageShows.shows;
    closeButton(balloon).click();
    EXPECT_FALSE(balloon.isVisible());
    EXPECT_EQ(voiceStops(), 1);
    // Hidden and shown again, her window could be lost to a window manager.
    EXPECT_EQ(stageShows.hides, hides);
    EXPECT_EQ(stageShows.shows, shows);
    EXPECT_TRUE(stage.isVisible());
    // Both timers stopped with it.
    stage.move(kRightHalf);
    timeline.advance(60'000);
    EXPECT_EQ(voiceStops(), 1);
    EXPECT_EQ(balloon.pos(), kLeftHalf + QPoint(121, 145));
}

TEST_F(MessageBalloon, EnterClosesItLikeTheButton) {
    for (QWidget* target :
         {static_cast<QWidget*>(&balloon), static_cast<QWidget*>(&closeButton(balloon))}) {
        balloon.placeBalloon(true);
        ASSERT_TRUE(balloon.isVisible());
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        EXPECT_FALSE(balloon.isVisible()) << target->metaObject()->className();
    }
    EXPECT_EQ(voiceStops(), 2);
}

TEST_F(MessageBalloon, RestoresAMinimisedProgramAndMinimisesItAgainWhenItClosesByItself) {
    stage.setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(minimize.appMinimized());
    balloon.placeBalloon(true);
    EXPECT_FALSE(minimized());
    EXPECT_FALSE(minimize.appMinimized());
    EXPECT_TRUE(balloon.restoredApp());

    timeline.advance(30'000);
    EXPECT_FALSE(balloon.isVisible());
    EXPECT_TRUE(minimized());
    EXPECT_TRUE(minimize.appMinimized());
    EXPECT_FALSE(balloon.restoredApp());
}

TEST_F(MessageBalloon, TheButtonLeavesTheProgramRestored) {
    stage.setWindowState(Qt::WindowMinimized);
    balloon.placeBalloon(true);
    closeButton(balloon).click();
    EXPECT_FALSE(balloon.restoredApp());
    timeline.advance(60'000);
    EXPECT_FALSE(minimized());
    EXPECT_FALSE(minimize.appMinimized());
}

TEST_F(MessageBalloon, HiddenFromOutsideItStillStopsTheVoiceAndKeepsWhatItRestored) {
    stage.setWindowState(Qt::WindowMinimized);
    balloon.placeBalloon(true);
    balloon.hide();
    EXPECT_EQ(voiceStops(), 1);
    EXPECT_TRUE(balloon.restoredApp());
}

TEST_F(MessageBalloon, PlacingItAgainWhileItShowsRenewsNeitherShapeNorCount) {
    balloon.placeBalloon(true);
    timeline.advance(20'000);
    stage.move(kRightHalf);
    balloon.placeBalloon(true);
    EXPECT_EQ(balloon.corner(), 1);
    EXPECT_EQ(balloon.pos(), kLeftHalf + QPoint(121, 145));
    EXPECT_EQ(balloon.boundingShape(), shapeFor(0));
    EXPECT_EQ(balloon.shapedForStageAt(), kLeftHalf);
    // The next follow tick catches up; the close still comes 30 s after the showing.
    timeline.advance(250);
    EXPECT_EQ(balloon.pos(), kRightHalf + QPoint(-200, 145));
    timeline.advance(30'000 - 20'250 - 1);
    EXPECT_TRUE(balloon.isVisible());
    timeline.advance(1);
    EXPECT_FALSE(balloon.isVisible());
}

TEST_F(MessageBalloon, ComesBackInFrontWhenSheIsActivated) {
    balloon.placeBalloon(true);
    QCoreApplication::processEvents();
    ASSERT_TRUE(balloon.isActiveWindow());
    stage.activateWindow();
    QCoreApplication::processEvents();
    ASSERT_TRUE(stage.isActiveWindow());
    timeline.advance(250);
    QCoreApplication::processEvents();
    EXPECT_TRUE(balloon.isActiveWindow());
}

TEST_F(MessageBalloon, BothWindowsTakeTheStackingStyleAtEachShowing) {
    auto onTop = [](const QWidget& window) {
        return window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    };
    stayOnTop = true;
    balloon.placeBalloon(true);
    EXPECT_TRUE(onTop(stage));
    EXPECT_TRUE(onTop(balloon));
    EXPECT_TRUE(balloon.isVisible());
    closeButton(balloon).click();

    stayOnTop = false;
    balloon.placeBalloon(true);
    EXPECT_FALSE(onTop(stage));
    EXPECT_FALSE(onTop(balloon));
    const int stops = voiceStops();

    // A change while it shows keeps it showing, in place and in shape, without closing it.
    rig.stacking.setStayOnTop(!rig.stayOnTop);
    EXPECT_TRUE(onTop(balloon));
    EXPECT_TRUE(balloon.isVisible());
    EXPECT_EQ(balloon.pos(), kLeftHalf + QPoint(121, 145));
    EXPECT_EQ(balloon.boundingShape(), shapeFor(0));
    EXPECT_EQ(voiceStops(), stops);
}

TEST_F(MessageBalloon, SayingShowsBothTextsInHerStackingAndStartsTheClip) {
    stayOnTop = true;
    balloon.say(QStringLiteral("お薬の時間です"), QStringLiteral("[**.**  08:30]"),
                QStringLiteral("Snd_Jikan1"));
    EXPECT_TRUE(balloon.speaking());
    EXPECT_TRUE(balloon.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(messageArea(balloon).text(), QStringLiteral("お薬の時間です"));
    EXPECT_EQ(timeLabel(balloon).text(), QStringLiteral("[**.**  08:30]"));
    EXPECT_EQ(rig.sound.played.size(), 1u);
    balloon.stopSpeaking();
    EXPECT_FALSE(balloon.speaking());
}

TEST_F(MessageBalloon, TheMessageShowsTheCharactersTyped) {
    QLabel& message = messageArea(balloon);
    EXPECT_EQ(message.text(), QStringLiteral("記念日です"));
    EXPECT_EQ(timeLabel(balloon).text(), QStringLiteral("[00.00 00:00]"));
    EXPECT_EQ(message.textFormat(), Qt::PlainText);
    EXPECT_EQ(timeLabel(balloon).textFormat(), Qt::PlainText);
    EXPECT_TRUE(message.wordWrap());

    // Rendered, the markup is as wide as its eight characters, not one bold letter.
    auto inkWidth = [&](const QString& text) {
        message.setText(text);
        const QImage image = message.grab().toImage();
        int left = image.width(), right = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    left = std::min(left, x), right = std::max(right, x);
        return right - left + 1;
    };
    balloon.placeBalloon(true);
    EXPECT_GT(inkWidth(QStringLiteral("<b>x</b>")), 4 * inkWidth(QStringLiteral("x")));
}

TEST_F(MessageBalloon, PaintsABlackOutlineOnWhite) {
    balloon.placeBalloon(true);
    const QImage image = balloon.grab().toImage();
    EXPECT_EQ(image.pixel(0, 80), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(120, 129), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(2, 80), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(160, 112), qRgb(255, 255, 255));
}

} // namespace
