// Start-up, show and close of the character window, with fake keys and a settings file
// in a private folder; no display is needed.
#include "app/MainStage.h"
#include "app/SettingsStore.h"
#include "platform/HiveRegistry.h"
#include "platform/KeyState.h"
#include "platform/WallClock.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <set>

namespace {
class FakeKeys : public KeyState {
public:
    std::set<Key> held;
    bool isDown(Key key) const override { return held.count(key) != 0; }
};

// Answers the next modal dialog with the given button text; counts what it answered.
class DialogAnswerer : public QObject {
public:
    explicit DialogAnswerer(QString buttonText) : buttonText_(std::move(buttonText)) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            titles.push_back(modal->windowTitle());
            for (QPushButton* button : modal->findChildren<QPushButton*>()) {
                if (button->text().remove(QLatin1Char('&')) == buttonText_) {
                    button->click();
                    return;
                }
            }
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        });
        timer_.start();
    }
    std::vector<QString> titles;

private:
    QString buttonText_;
    QTimer timer_;
};

QApplication& app() {
    static int argc = 1;
    static char name[] = "test_app";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = new QApplication(argc, argv);
    return *instance;
}

class MainStageLifetime : public ::testing::Test {
protected:
    void SetUp() override {
        app();
        ASSERT_TRUE(folder.isValid());
        path = folder.path() + QStringLiteral("/hourling/user.reg");
    }
    std::unique_ptr<MainStage> create(HiveRegistry& registry) {
        return std::make_unique<MainStage>(StageServices{registry, keys, clock});
    }
    bool programKeyExists() {
        HiveRegistry registry(path);
        return registry.keyExists(kProgramKey);
    }
    void storeSamiLim(qint32 value) {
        HiveRegistry registry(path);
        StageSettings settings;
        settings.samiLim = value;
        ASSERT_TRUE(SaveSettings(registry, settings, {40, 64}));
    }

    QTemporaryDir folder;
    QString path;
    FakeKeys keys;
    SystemWallClock clock;
};

TEST_F(MainStageLifetime, FirstStartCreatesTheKeyEmptyAndKeepsEveryDefault) {
    HiveRegistry registry(path);
    auto stage = create(registry);
    EXPECT_TRUE(programKeyExists());
    const StageSettings defaults;
    EXPECT_EQ(stage->settings().AnaDigi, defaults.AnaDigi);
    EXPECT_EQ(stage->settings().samiLim, 3600);
    EXPECT_EQ(stage->settings().FormLeft, 40);
    EXPECT_EQ(stage->settings().FormTop, 64);
    EXPECT_FALSE(stage->registryDeleted());
    EXPECT_EQ(stage->placementTag(), 0);
}

TEST_F(MainStageLifetime, ShiftOrCtrlAloneOffersNoReset) {
    storeSamiLim(600);
    for (KeyState::Key key : {KeyState::Key::Shift, KeyState::Key::Control}) {
        keys.held = {key};
        DialogAnswerer answerer(QStringLiteral("OK"));
        HiveRegistry registry(path);
        auto stage = create(registry);
        EXPECT_TRUE(answerer.titles.empty());
        EXPECT_EQ(stage->settings().samiLim, 600);
    }
}

TEST_F(MainStageLifetime, ResetConfirmedDeletesTheKeyKeepsDefaultsAndAsksAtClose) {
    storeSamiLim(600);
    keys.held = {KeyState::Key::Shift, KeyState::Key::Control};
    HiveRegistry registry(path);
    std::unique_ptr<MainStage> stage;
    {
        DialogAnswerer answerer(QStringLiteral("OK"));
        stage = create(registry);
        ASSERT_EQ(answerer.titles.size(), 1u);
        EXPECT_EQ(answerer.titles.front(), QStringLiteral("?"));
    }
    EXPECT_TRUE(stage->registryDeleted());
    EXPECT_FALSE(programKeyExists()) << "the load must not create the key again";
    EXPECT_FALSE(QFile::exists(path));
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
    HiveRegistry registry(path);
    DialogAnswerer answerer(QStringLiteral("OK"));
    auto stage = create(registry);
    stage->close();
    EXPECT_EQ(answerer.titles.size(), 2u);
    HiveRegistry reader(path);
    ASSERT_TRUE(reader.openKey(kProgramKey, false));
    EXPECT_EQ(reader.readDword(QStringLiteral("samiLim")), std::optional<quint32>(3600));
}

TEST_F(MainStageLifetime, ResetConfirmedWithNoKeyStoredDeletesNothingAndAsksNothing) {
    keys.held = {KeyState::Key::Shift, KeyState::Key::Control};
    HiveRegistry registry(path);
    DialogAnswerer answerer(QStringLiteral("OK"));
    auto stage = create(registry);
    EXPECT_FALSE(stage->registryDeleted());
    EXPECT_TRUE(programKeyExists());
    stage->close();
    EXPECT_EQ(answerer.titles.size(), 1u) << "only the reset dialog";
}

TEST_F(MainStageLifetime, ResetCancelledIsAnOrdinaryStart) {
    storeSamiLim(600);
    keys.held = {KeyState::Key::Shift, KeyState::Key::Control};
    HiveRegistry registry(path);
    DialogAnswerer answerer(QStringLiteral("キャンセル"));
    auto stage = create(registry);
    EXPECT_FALSE(stage->registryDeleted());
    EXPECT_EQ(stage->settings().samiLim, 600);
}

TEST_F(MainStageLifetime, OnlyTheFirstShowPlacesTheWindowAndTheCloseSavesTheLivePlace) {
    HiveRegistry registry(path);
    auto stage = create(registry);
    stage->show();
    EXPECT_EQ(stage->pos(), QPoint(40, 64));
    EXPECT_EQ(stage->placementTag(), 1);
    stage->move(300, -20);
    stage->hide();
    stage->show();
    EXPECT_EQ(stage->pos(), QPoint(300, -20));
    stage->close();
    stage->close(); // a second close request saves nothing twice and breaks nothing
    HiveRegistry reader(path);
    ASSERT_TRUE(reader.openKey(kProgramKey, false));
    EXPECT_EQ(reader.readDword(QStringLiteral("FormLeft")), std::optional<quint32>(300));
    EXPECT_EQ(reader.readDword(QStringLiteral("FormTop")), std::optional<quint32>(quint32(-20)));
}
} // namespace
