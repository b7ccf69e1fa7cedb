// Start-up, show and close of the character window, with fake keys and a settings file
// in a private folder; no display is needed.
#include "app/SettingsStore.h"
#include "clock/StageClock.h"
#include "clock/TClocker.h"
#include "stage/StagePlacement.h"
#include "support/fixtures/DialogAnswerer.h"
#include "support/fixtures/StageFixture.h"

#include <QFile>

namespace {
class MainStageLifetime : public StageFixture {
protected:
    void storeSamiLim(qint32 value) {
        StageSettings settings;
        settings.samiLim = value;
        store(settings);
    }
};

TEST_F(MainStageLifetime, FirstStartCreatesTheKeyEmptyAndKeepsEveryDefault) {
    create();
    EXPECT_TRUE(programKeyExists());
    const StageSettings defaults;
    EXPECT_EQ(stage->settings().AnaDigi, defaults.AnaDigi);
    EXPECT_EQ(stage->settings().samiLim, 3600);
    EXPECT_EQ(stage->settings().FormLeft, 40);
    EXPECT_EQ(stage->settings().FormTop, 64);
    EXPECT_FALSE(stage->keeper().registryDeleted());
    EXPECT_FALSE(stage->placed());
}

TEST_F(MainStageLifetime, ShiftOrCtrlAloneOffersNoReset) {
    storeSamiLim(600);
    for (KeyState::Key key : {KeyState::Key::Shift, KeyState::Key::Control}) {
        keys.held = {key};
        DialogAnswerer answerer(QStringLiteral("OK"));
        create();
        EXPECT_TRUE(answerer.titles.empty());
        EXPECT_EQ(stage->settings().samiLim, 600);
    }
}

TEST_F(MainStageLifetime, ResetConfirmedDeletesTheKeyKeepsDefaultsAndAsksAtClose) {
    storeSamiLim(600);
    keys.held = {KeyState::Key::Shift, KeyState::Key::Control};
    {
        DialogAnswerer answerer(QStringLiteral("OK"));
        create();
        ASSERT_EQ(answerer.titles.size(), 1u);
        EXPECT_EQ(answerer.titles.front(), QStringLiteral("?"));
    }
    EXPECT_TRUE(stage->keeper().registryDeleted());
    EXPECT_FALSE(programKeyExists()) << "the load must not create the key again";
    EXPECT_FALSE(QFile::exists(hivePath()));
    EXPECT_EQ(stage->settings().samiLim, 3600);

    // Cancel at the question leaves the key deleted.
    DialogAnswerer cancel(QStringLiteral("キャンセル"));
    stage->close();
    EXPECT_EQ(cancel.titles.size(), 1u);
    EXPECT_FALSE(programKeyExists());
}

TEST_F(MainStageLifetime, ResetConfirmedThenOkAtCloseWritesTheDefaults) {
    storeSamiLim(600);
    keys.held = {KeyState::Key::Shift, KeyState::Key::Control};
    DialogAnswerer answerer(QStringLiteral("OK"));
    create();
    stage->close();
    EXPECT_EQ(answerer.titles.size(), 2u);
    EXPECT_EQ(storedDword(QStringLiteral("samiLim")), std::optional<quint32>(3600));
}

TEST_F(MainStageLifetime, ResetConfirmedWithNoKeyStoredDeletesNothingAndAsksNothing) {
    keys.held = {KeyState::Key::Shift, KeyState::Key::Control};
    DialogAnswerer answerer(QStringLiteral("OK"));
    create();
    EXPECT_FALSE(stage->keeper().registryDeleted());
    EXPECT_TRUE(programKeyExists());
    stage->close();
    EXPECT_EQ(answerer.titles.size(), 1u) << "only the reset dialog";
}

TEST_F(MainStageLifetime, ResetCancelledIsAnOrdinaryStart) {
    storeSamiLim(600);
    keys.held = {KeyState::Key::Shift, KeyState::Key::Control};
    DialogAnswerer answerer(QStringLiteral("キャンセル"));
    create();
    EXPECT_FALSE(stage->keeper().registryDeleted());
    EXPECT_EQ(stage->settings().samiLim, 600);
}

TEST_F(MainStageLifetime, OnlyTheFirstShowPlacesTheWindowAndTheCloseSavesHerPlace) {
    create();
    stage->show();
    EXPECT_EQ(stage->pos(), QPoint(40, 64));
    EXPECT_TRUE(stage->placed());
    stage->placement().standAt({300, 20});
    stage->hide();
    stage->show();
    EXPECT_EQ(stage->pos(), QPoint(300, 20));
    stage->close();
    stage->close(); // a second close request saves nothing twice and breaks nothing
    EXPECT_EQ(storedDword(QStringLiteral("FormLeft")), std::optional<quint32>(300));
    EXPECT_EQ(storedDword(QStringLiteral("FormTop")), std::optional<quint32>(20));
}

// The process ending underneath her window, as when the display goes away: the clock stops
// and the settings are saved as a close saves them, once, and never after a reset.
TEST_F(MainStageLifetime, AnExitUnderneathHerWindowSavesOnceAndNeverAfterAReset) {
    storeSamiLim(600);
    start();
    stage->placement().standAt({300, 200});
    stage->closeAtExit();
    EXPECT_FALSE(stage->clock().clocker().running());
    EXPECT_EQ(storedDword(QStringLiteral("FormLeft")), std::optional<quint32>(300));
    stage->placement().standAt({310, 210});
    stage->close();
    stage->closeAtExit();
    EXPECT_EQ(storedDword(QStringLiteral("FormLeft")), std::optional<quint32>(300))
        << "a second save";

    keys.held = {KeyState::Key::Shift, KeyState::Key::Control};
    DialogAnswerer answerer(QStringLiteral("OK"));
    start();
    stage->closeAtExit();
    EXPECT_EQ(answerer.titles.size(), 1u) << "only the reset dialog, without a display";
    EXPECT_FALSE(programKeyExists());
}
} // namespace
