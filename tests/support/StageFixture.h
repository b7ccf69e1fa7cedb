#pragma once

#include "app/MainStage.h"
#include "platform/HiveRegistry.h"
#include "support/ClockFakes.h"
#include "support/FakeKeys.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

// Her window built over a settings file in a private folder, with fake keys and a fake
// wall clock; no display is needed.
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

    QTemporaryDir folder;
    std::unique_ptr<HiveRegistry> registry;
    FakeKeys keys;
    FakeWallClock clock;
    std::unique_ptr<MainStage> stage;
};
