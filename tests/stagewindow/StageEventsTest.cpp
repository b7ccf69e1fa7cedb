// Her schedules and anniversaries joined to her window: a schedule that falls due on the
// clock thread speaks in her balloon, nothing is announced while a settings dialog is open,
// the dialogs reach her settings, the debug button speaks, and the close saves lastYotei.
#include "events/StageEvents.h"
#include "platform/StageTimer.h"
#include "shared/TimeKey.h"
#include "support/fixtures/QtPrinters.h"
#include "support/fixtures/StageFixture.h"
#include "support/harness/Polling.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace {

using StageEventsTest = StageFixture;

TEST_F(StageEventsTest, AScheduleDueOnTheClockThreadSpeaksAndTheCloseSavesItsMinute) {
    StageSettings settings;
    EventSlot& slot = settings.schedules[1];
    slot.used = true;
    slot.hour = 3;
    slot.minute = 1;
    slot.clip = QStringLiteral("snd_jikan2");
    slot.message = QStringLiteral("お薬の時間です\n二行目も");
    settings.lastYotei = timeKey(3, 14, 3, 1);
    store(settings);
    start();
    // The clock thread, woken, sees the new minute and checks.
    clock.set(timeOf(3, 15, 3, 1, 1));
    waiter->wake();
    ASSERT_TRUE(eventually([&] {
        uiPoster.runPending();
        return stage->events().mainTimer().isActive();
    }));
    timers.advance(StageEvents::kFirstAnnouncementMs);
    EXPECT_TRUE(balloon->isVisible());
    EXPECT_EQ(messageArea(*balloon).text(), QStringLiteral("お薬の時間です\n二行目も"));
    EXPECT_EQ(timeLabel(*balloon).text(), QStringLiteral("[**.**  03:01]"));
    EXPECT_EQ(sound.played.size(), 1u);

    closeButton(*balloon).click();
    EXPECT_FALSE(balloon->isVisible());
    stage->close();
    EXPECT_EQ(storedDword(QStringLiteral("lastYotei")), quint32(timeKey(3, 15, 3, 1)));
}

TEST_F(StageEventsTest, NothingIsAnnouncedWhileADialogIsOpenAndWhatWaitedFollowsAfter) {
    start();
    stage->events().queueAnnouncement(EventKind::Anniversary, 0);
    uiPoster.runPending();
    openMenu();
    pickModal(item("MIScheduleSet"), [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("予定設定"));
        EXPECT_TRUE(stage->events().isDialogOpen());
        processEventsFor(50);
        timers.advance(60'000);
        EXPECT_FALSE(balloon->isVisible());
    });
    EXPECT_FALSE(stage->events().isDialogOpen());
    timers.advance(StageEvents::kQueuePeriodMs);
    EXPECT_TRUE(balloon->isVisible());
    EXPECT_EQ(messageArea(*balloon).text(), QStringLiteral("記念日です。"));
}

TEST_F(StageEventsTest, TheAnniversaryDialogsOkReachesHerSettingsAndTheSaveKeepsTheWordsBits) {
    StageSettings settings;
    settings.anniversaries[0].otherWordBits = 0x8200;
    store(settings);
    start();
    openMenu();
    pickModal(item("MIMemorialSet"), [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("記念日設定"));
        dialog.findChild<QCheckBox*>(QStringLiteral("UseFlagCB"))->click();
        dialog.findChild<QComboBox*>(QStringLiteral("Tuki"))->setCurrentIndex(12);
        dialog.findChild<QComboBox*>(QStringLiteral("Hi"))->setCurrentIndex(23);
        dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
    });
    const EventSlot committed = stage->events().slotsOf(EventKind::Anniversary)[0];
    EXPECT_TRUE(committed.used);
    EXPECT_EQ(committed.month, 12);
    EXPECT_EQ(committed.day, 24);
    stage->close();
    EXPECT_EQ(storedDword(QStringLiteral("KiTuki0")), 0x830Cu);
    EXPECT_EQ(storedDword(QStringLiteral("KiHi0")), 24u);
}

TEST_F(StageEventsTest, TheDebugButtonSpeaksScheduleZeroThoughItIsNotInUse) {
    start();
    keys.held = {KeyState::Key::Control, KeyState::Key::Shift};
    openMenu();
    pick(item("MIDebugMode"));
    stage->findChild<QPushButton*>(QStringLiteral("MessageTest"))->click();
    EXPECT_TRUE(balloon->isVisible());
    EXPECT_EQ(messageArea(*balloon).text(), QStringLiteral("予定の時間になりました。"));
    EXPECT_EQ(timeLabel(*balloon).text(), QStringLiteral("[**.**  00:00]"));
}

} // namespace
