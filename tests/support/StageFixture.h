#pragma once

#include "app/MainStage.h"
#include "platform/HiveRegistry.h"
#include "stage/StagePopupMenu.h"
#include "support/BalloonControls.h"
#include "support/CharacterFakes.h"
#include "support/ClockFakes.h"
#include "support/FakeKeys.h"
#include "support/FakeSoundOutput.h"
#include "support/FakeTimeline.h"
#include "voice/TMessageBalloon.h"

#include <QDialog>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

// Her window, and with it her balloon, built over a settings file in a private folder, with fake
// keys, wall clock, sound output and timers; no display is needed.
class StageFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString hivePath() const;
    // Stores the settings as a close would, at their own position.
    void store(const StageSettings& settings);
    // A value as the last save left it; none when it is missing or not a number.
    std::optional<quint32> storedDword(const QString& name) const;
    bool programKeyExists() const;

    // Builds her window over the settings file, as the program does at start.
    MainStage& create();
    // Builds and shows it.
    MainStage& start();
    // The secondary button on her: the menu opens at the mouse.
    void openMenu();
    // Picks an item as the user does: the menu closes first, then the command runs.
    void pick(QAction* item);
    // Picks an item that opens a modal dialog and runs inside() on the dialog once it shows;
    // the dialog is cancelled afterwards if inside() left it open.
    void pickModal(QAction* item, const std::function<void(QDialog&)>& inside);
    // Her window goes, as at the end of the program, without a close.
    void destroy();

    QTemporaryDir folder;
    std::unique_ptr<HiveRegistry> registry;
    FakeKeys keys;
    FakeWallClock clock;
    FakeSoundOutput sound;
    FakeTimeline timers;
    FakeRandom random;
    FakeBeeper beeper;
    std::unique_ptr<MainStage> stage;
    // Her balloon, once her window is built.
    TMessageBalloon* balloon = nullptr;
    // Her popup menu, once her window is built.
    StagePopupMenu* menu = nullptr;
};
