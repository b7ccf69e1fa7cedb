// Her popup menu as the user meets it on the window: what it holds, what the held keys
// reveal, and what its commands do. Keys are fake and no display is needed.
#include "platform/AutostartEntry.h"
#include "stage/MenuItem.h"
#include "stage/StagePlacement.h"
#include "stage/StagePopupMenu.h"
#include "support/fixtures/StageFixture.h"
#include "support/fixtures/TempConfigHome.h"
#include "support/fixtures/TestApplication.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPushButton>

namespace {

QStringList captionsOf(const QMenu& menu) {
    QStringList captions;
    for (const QAction* item : menu.actions())
        captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
    return captions;
}

class StageMenu : public StageFixture {
protected:
    using Key = KeyState::Key;

    void startWithMenu() {
        start();
        ASSERT_NE(menu, nullptr);
    }
    bool debugEntryShown() const { return item("MIDebugMode")->isVisible(); }
    bool priorityEntryShown() const { return item("MIThreadPriority")->isVisible(); }
    std::vector<QWidget*> debugControls() const {
        return {stage->findChild<QWidget*>(QStringLiteral("DateTimePicker1")),
                stage->findChild<QPushButton*>(QStringLiteral("MessageTest")),
                stage->findChild<QPushButton*>(QStringLiteral("FaceTest")),
                stage->findChild<QCheckBox*>(QStringLiteral("NakuTest")),
                stage->findChild<QPushButton*>(QStringLiteral("RandomFace1"))};
    }
};

// Each part hands in its items; the menu puts them in order.
TEST_F(StageMenu, HoldsEveryItemInOrderWithItsCaptionAndKind) {
    startWithMenu();
    EXPECT_EQ(
        captionsOf(*menu),
        (QStringList{"バージョン情報...(&A)", "デバッグモード", "スレッドの使用頻度", "-",
                     "常に一番手前に表示(&S)", "デジタル表示(&D)", "12時間制[デジタル表示時](&H)",
                     "ログイン時に起動", "-", "記念日設定...", "予定設定...", "寂しくても我慢",
                     "大きさ", "声を出さない", "-", "終了(&X)"}));
    for (const char* check :
         {"MIDebugMode", "StayOnTop1", "MIDigiAna", "MIAmPm", "MIStartAtLogin", "MIQuiet"})
        EXPECT_TRUE(item(check)->isCheckable()) << check;
    for (const char* command : {"About1", "MIMemorialSet", "MIScheduleSet", "X1"})
        EXPECT_FALSE(item(command)->isCheckable()) << command;
    EXPECT_FALSE(item("N1")->isEnabled());
    const auto submenu = [&](const char* name) { return menu->findChild<QMenu*>(name); };
    EXPECT_EQ(captionsOf(*submenu("MIThreadPriority")),
              (QStringList{"アイドル時のみ", "最低", "低", "通常", "高", "最高"}));
    EXPECT_EQ(captionsOf(*submenu("MIGaman")),
              (QStringList{"とても寂しいです", "ちょっと寂しいです", "お待ちしております",
                           "我慢いたします", "辛抱いたします", "平気です[オフ]"}));
    EXPECT_EQ(captionsOf(*submenu("MISize")),
              (QStringList{"50%", "75%", "100%", "125%", "150%", "200%"}));
    std::vector<int> priorityTags, patienceTags;
    for (QAction* entry : submenu("MIThreadPriority")->actions())
        priorityTags.push_back(MenuItem::tagOf(*entry));
    for (QAction* entry : submenu("MIGaman")->actions())
        patienceTags.push_back(MenuItem::tagOf(*entry));
    EXPECT_EQ(priorityTags, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(patienceTags, (std::vector<int>{600, 1200, 1800, 3600, 14400, 0}));
}

TEST_F(StageMenu, StartAtLoginWritesHerAutostartEntryAndRemovesIt) {
    const TempConfigHome home;
    startWithMenu();
    QFile entry(home.path() + QStringLiteral("/autostart/hourling.desktop"));
    openMenu();
    EXPECT_FALSE(item("MIStartAtLogin")->isChecked());
    pick(item("MIStartAtLogin"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QByteArray written = entry.readAll();
    EXPECT_TRUE(written.contains("\nName=Hourling\n")) << written.toStdString();
    EXPECT_TRUE(written.contains(
        "\nExec=" + AutostartEntry::execValue(QCoreApplication::applicationFilePath()).toUtf8()));
    openMenu();
    EXPECT_TRUE(item("MIStartAtLogin")->isChecked());
    pick(item("MIStartAtLogin"));
    EXPECT_FALSE(entry.exists());
}

struct HeldKeys {
    std::set<KeyState::Key> keys;
    bool debugEntry;
    bool priorityEntry;
};

class HiddenEntries : public StageMenu, public ::testing::WithParamInterface<HeldKeys> {};

TEST_P(HiddenEntries, ShowOnlyWhileTheirKeysAreHeldAsTheMenuOpens) {
    startWithMenu();
    keys.held = GetParam().keys;
    openMenu();
    EXPECT_EQ(debugEntryShown(), GetParam().debugEntry);
    EXPECT_EQ(priorityEntryShown(), GetParam().priorityEntry);
    menu->hide();
    // They are gone again at the next opening without the keys.
    keys.held.clear();
    openMenu();
    EXPECT_FALSE(debugEntryShown());
    EXPECT_FALSE(priorityEntryShown());
    menu->hide();
}

INSTANTIATE_TEST_SUITE_P(
    KeyCombinations, HiddenEntries,
    ::testing::Values(
        HeldKeys{{}, false, false},
        HeldKeys{{KeyState::Key::Control, KeyState::Key::Shift}, true, false},
        HeldKeys{{KeyState::Key::Control, KeyState::Key::Down}, false, true},
        HeldKeys{{KeyState::Key::Control, KeyState::Key::Shift, KeyState::Key::Down}, true, true},
        HeldKeys{{KeyState::Key::Shift, KeyState::Key::Down}, false, false},
        HeldKeys{{KeyState::Key::Control}, false, false}));

TEST_F(StageMenu, TheDefaultsOrTheStoredSettingsSetTheCheckMarksAtStart) {
    StageSettings stored;
    std::tie(stored.AnaDigi, stored.DigiAMPM, stored.StayOnTop, stored.Quiet) =
        std::tuple(false, true, true, true);
    std::tie(stored.ThreadPrio, stored.samiLim) = std::tuple(4, 1800);
    for (bool defaults : {true, false}) {
        store(defaults ? StageSettings() : stored);
        startWithMenu();
        for (const char* flag : {"MIDigiAna", "MIAmPm", "StayOnTop1", "MIQuiet"})
            EXPECT_EQ(item(flag)->isChecked(), !defaults) << flag;
        EXPECT_FALSE(item("MIDebugMode")->isChecked());
        EXPECT_EQ(checkedIn("MIThreadPriority"),
                  item(defaults ? "MIThreadPrio1" : "MIThreadPrio5"));
        EXPECT_EQ(checkedIn("MIGaman"), item(defaults ? "MIGaman4" : "MIGaman3"));
        EXPECT_EQ(stage->windowFlags().testFlag(Qt::WindowStaysOnTopHint), !defaults);
    }
}

TEST_F(StageMenu, DebugModeShowsAndEnablesTheFiveControlsAndHidesThemAgain) {
    startWithMenu();
    for (QWidget* control : debugControls()) {
        ASSERT_NE(control, nullptr);
        EXPECT_FALSE(control->isVisible());
    }
    keys.held = {Key::Control, Key::Shift};
    openMenu();
    pick(item("MIDebugMode"));
    EXPECT_TRUE(item("MIDebugMode")->isChecked());
    for (QWidget* control : debugControls()) {
        EXPECT_TRUE(control->isVisible()) << control->objectName().toStdString();
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    }
    openMenu();
    pick(item("MIDebugMode"));
    EXPECT_FALSE(item("MIDebugMode")->isChecked());
    for (QWidget* control : debugControls()) {
        EXPECT_FALSE(control->isVisible()) << control->objectName().toStdString();
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    }
}

TEST_F(StageMenu, PriorityAndPatienceItemsChangeTheSettingsThatTheCloseStores) {
    startWithMenu();
    keys.held = {Key::Control, Key::Down};
    openMenu();
    pick(item("MIThreadPrio3"));
    EXPECT_EQ(stage->settings().ThreadPrio, 2);
    EXPECT_EQ(checkedIn("MIThreadPriority"), item("MIThreadPrio3"));
    openMenu();
    pick(item("MIGaman0"));
    EXPECT_EQ(stage->settings().samiLim, 0);
    EXPECT_TRUE(item("MIGaman0")->isChecked());

    openMenu();
    pick(item("X1"));
    EXPECT_FALSE(stage->isVisible());
    EXPECT_EQ(storedDword(QStringLiteral("ThreadPrio")), std::optional<quint32>(2));
    EXPECT_EQ(storedDword(QStringLiteral("samiLim")), std::optional<quint32>(0));
}

TEST_F(StageMenu, StayOnTopTwiceReturnsToTheFirstStackingWithPlaceAndShapeKept) {
    startWithMenu();
    stage->placement().standAt({300, 120});
    const QRegion shape = stage->mask();
    const QSize size = stage->size();
    for (bool onTop : {true, false}) {
        openMenu();
        pick(item("StayOnTop1"));
        EXPECT_EQ(stage->settings().StayOnTop, onTop);
        EXPECT_EQ(item("StayOnTop1")->isChecked(), onTop);
        EXPECT_EQ(stage->windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
        EXPECT_TRUE(stage->isVisible());
        EXPECT_EQ(stage->pos(), QPoint(300, 120));
        EXPECT_EQ(stage->size(), size);
        EXPECT_EQ(stage->mask(), shape);
    }
}

TEST_F(StageMenu, TheAboutBoxIsModalWithItsTextsAndClosesWithOk) {
    startWithMenu();
    struct Seen {
        QString title, product, version;
        QSize size;
        bool modal = false;
        bool closedByOk = false;
    } seen;
    openMenu();
    pickModal(item("About1"), [&](QDialog& box) {
        seen.title = box.windowTitle();
        seen.size = box.size();
        seen.modal = box.isModal();
        seen.product = box.findChild<QLabel*>(QStringLiteral("ProductName"))->text();
        seen.version = box.findChild<QLabel*>(QStringLiteral("Version"))->text();
        QPushButton* ok = box.findChild<QPushButton*>(QStringLiteral("OKButton"));
        EXPECT_TRUE(ok->isDefault());
        ok->click();
        seen.closedByOk = !box.isVisible();
    });
    EXPECT_TRUE(seen.closedByOk);
    EXPECT_EQ(seen.title, QStringLiteral("バージョン情報"));
    EXPECT_EQ(seen.size, QSize(298, 213));
    EXPECT_TRUE(seen.modal);
    EXPECT_TRUE(seen.product.endsWith(QStringLiteral("ミオラちゃん時計")))
        << seen.product.toStdString();
    EXPECT_EQ(seen.version, QStringLiteral("Version " HOURLING_VERSION));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
} // namespace
