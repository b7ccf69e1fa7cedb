// Her balloon joined to her window: her menu closes it, the stacking item reaches it, its
// closing cuts her voice and shows her again where she stands.
#include "support/fixtures/StageFixture.h"
#include "voice/MinimizeWatch.h"
#include "voice/VoicePlayer.h"

#include <QLabel>
#include <QPushButton>

namespace {

class StageBalloon : public StageFixture {
protected:
    void speak() {
        messageArea(*balloon).setText(QStringLiteral("予定の時間になりました。"));
        stage->voice().playVoice(QStringLiteral("snd_jikan1"));
        balloon->placeBalloon(true);
        ASSERT_TRUE(balloon->isVisible());
        ASSERT_TRUE(sound.isSounding());
    }
};

TEST_F(StageBalloon, OpeningHerMenuClosesTheBalloonAndCutsTheVoice) {
    start();
    speak();
    openMenu();
    EXPECT_FALSE(balloon->isVisible());
    EXPECT_FALSE(sound.isSounding());
    EXPECT_TRUE(stage->isVisible());
    menu->hide();
}

TEST_F(StageBalloon, ItsButtonShowsHerAgainWhereSheStandsWithHerShape) {
    start();
    stage->move(300, 120);
    const QRegion shape = stage->mask();
    speak();
    closeButton(*balloon).click();
    EXPECT_FALSE(balloon->isVisible());
    EXPECT_EQ(sound.stopCalls, 1);
    EXPECT_TRUE(stage->isVisible());
    EXPECT_EQ(stage->pos(), QPoint(300, 120));
    EXPECT_EQ(stage->mask(), shape);
}

TEST_F(StageBalloon, TheStackingItemReachesTheBalloonToo) {
    start();
    for (bool onTop : {true, false}) {
        openMenu();
        pick(item("StayOnTop1"));
        EXPECT_EQ(balloon->windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
        EXPECT_EQ(stage->windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
    }
}

TEST_F(StageBalloon, VoicesAreFoundWhateverTheirCaseAndOneSoundsAtATime) {
    start();
    EXPECT_FALSE(stage->voice().playVoice(QString()));
    EXPECT_TRUE(stage->voice().playVoice(QStringLiteral("SND_KINENBI2")));
    EXPECT_FALSE(stage->voice().playVoice(QStringLiteral("Snd_Jikan1")));
    EXPECT_FALSE(stage->voice().playVoice(QStringLiteral("Snd_Nothing")));
    ASSERT_EQ(sound.played.size(), 1u);
    stage->voice().stopVoice();
    EXPECT_FALSE(sound.isSounding());
}

TEST_F(StageBalloon, QuietSilencesHerClipsButNotWhatTheUserAsksToHear) {
    start();
    for (const bool quiet : {true, false}) {
        openMenu();
        pick(item("MIQuiet"));
        EXPECT_EQ(stage->settings().Quiet, quiet);
        sound.played.clear();
        balloon->say(QStringLiteral("予定の時間になりました。"), QString(),
                     QStringLiteral("Snd_Jikan1"));
        EXPECT_EQ(sound.played.size(), quiet ? 0u : 1u) << "announced, quiet " << quiet;
        closeButton(*balloon).click();
        // A dialog's Listen button.
        EXPECT_TRUE(stage->voice().playVoice(QStringLiteral("Snd_Jikan2")));
        stage->voice().stopVoice();
    }
}

TEST_F(StageBalloon, ABalloonThatClosesByItselfMinimisesAgainWhatItRestored) {
    start();
    stage->showMinimized();
    ASSERT_TRUE(stage->minimizeWatch().appMinimized());
    speak();
    EXPECT_FALSE(stage->minimizeWatch().appMinimized());
    timers.advance(30'000);
    EXPECT_FALSE(balloon->isVisible());
    EXPECT_TRUE(stage->minimizeWatch().appMinimized());
}

} // namespace
