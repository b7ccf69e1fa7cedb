// A settings file edited by hand, with values out of their ranges or of the wrong type: she
// starts, her parts behave sanely with what she read, and what her close writes she reads
// back the same, so that the close after it writes the very same file again.
#include "app/SettingsStore.h"
#include "character/Loneliness.h"
#include "clock/StageClock.h"
#include "clock/TClocker.h"
#include "events/SlotDialog.h"
#include "events/StageEvents.h"
#include "events/TabControl.h"
#include "platform/HiveFile.h"
#include "shared/TimeKey.h"
#include "support/fixtures/StageFixture.h"
#include "support/fixtures/StageSettingsText.h"
#include "support/harness/Polling.h"
#include "support/harness/ProcThreadStat.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <algorithm>
#include <functional>
#include <limits>
#include <map>

namespace {

QByteArray dwordData(quint32 value) {
    QByteArray data(4, '\0');
    for (int i = 0; i < 4; ++i)
        data[i] = char(value >> (8 * i));
    return data;
}

void setDword(HiveKey& key, const char* name, quint32 value) {
    key.setValue(QLatin1String(name), RegType::kDword, dwordData(value));
}

void setString(HiveKey& key, const char* name, const QByteArray& text) {
    key.setValue(QLatin1String(name), RegType::kString, QByteArray(text).append('\0'));
}

class HandEditedSettings;

struct HandEdit {
    const char* name;
    std::function<void(HiveKey&)> edit;
    // Values the first close must have written, as the number words hold them.
    std::map<QString, quint32> written;
    // What she must make of the file while she runs.
    std::function<void(HandEditedSettings&)> check = {};
    // A value the reading could not take leaves the file as it was beside it.
    bool keptAside = false;
};

// Its name, in the test's listing.
void PrintTo(const HandEdit& edit, std::ostream* out) {
    *out << edit.name;
}

// Schedules and anniversaries in use, so that her checks have something to look at.
StageSettings inUse() {
    StageSettings settings;
    settings.FormLeft = 100;
    settings.FormTop = 80;
    for (int i = 0; i < 3; ++i) {
        settings.schedules[i] = {
            true, 0, 0, 9 + i, 5 * i, QStringLiteral("Snd_Jikan1"), QStringLiteral("予定")};
        settings.anniversaries[i] = {true, 4, 10 + i, 0, 0, QStringLiteral("Snd_Kinenbi1"), {}};
    }
    settings.lastYotei = timeKey(3, 15, 2, 0);
    settings.samiLim = 600;
    settings.ThreadPrio = 1;
    return settings;
}

class HandEditedSettings : public StageFixture, public ::testing::WithParamInterface<HandEdit> {
public:
    // For the rows' own checks.
    using StageFixture::balloon;
    using StageFixture::checkedIn;
    using StageFixture::stage;

    // The clock runs, at level 0 for a level outside the six.
    void expectClockAt(int level) {
        ASSERT_TRUE(eventually([&] { return stage->clock().clocker().threadId() != 0; }));
        EXPECT_TRUE(eventually([&] {
            return ProcThreadStat::of(stage->clock().clocker().threadId()).showsLevel(level);
        }));
    }

    // Every check she runs over a month and a day, with their announcements.
    std::vector<QString> announcedOverMarch() {
        std::vector<QString> labels;
        for (int day = 1; day <= 31; ++day) {
            stage->events().checkKinenbi(3, day);
            for (int hour : {0, 9, 10, 11, 23})
                stage->events().checkYotei(3, day, hour, 5 * (day % 12));
            // The checks arm the queue's timer on the user-interface thread; each balloon
            // closes before the next tick.
            uiPoster.runPending();
            for (int ticks = 0; !stage->events().pending().empty() || balloon->isVisible();
                 ++ticks) {
                if (ticks == 20) {
                    ADD_FAILURE() << "her announcements stand still on March " << day;
                    return labels;
                }
                if (balloon->isVisible()) {
                    labels.push_back(timeLabel(*balloon).text());
                    closeButton(*balloon).click();
                }
                timers.advance(StageEvents::kQueuePeriodMs);
            }
        }
        return labels;
    }

    // Opens a dialog, looks at every tab and cancels: nothing may change.
    void browseDialog(QAction* item) {
        openMenu();
        pickModal(item, [](QDialog& dialog) {
            auto* tabs = dialog.findChild<TabControl*>();
            ASSERT_NE(tabs, nullptr);
            for (int tab : {1, 2, 0})
                tabs->tabBar().setCurrentIndex(tab);
        });
    }

    // Closes her window as the exit item does.
    void close() {
        stage->close();
        destroy();
    }

    QByteArray hiveBytes() const {
        QFile file(hivePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    StageSettings storedSettings() const {
        HiveRegistry reader(hivePath());
        StageSettings settings;
        EXPECT_TRUE(loadSettings(reader, settings));
        return settings;
    }
};

TEST_P(HandEditedSettings, SheRunsSanelyAndWritesWhatSheReadsBackTheSame) {
    const HandEdit& row = GetParam();
    store(inUse());
    {
        HiveFile hive = *HiveFile::parse(hiveBytes());
        row.edit(hive.createKey(kProgramKey));
        QFile file(hivePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(hive.serialise());
    }
    const QByteArray edited = hiveBytes();

    start();
    ASSERT_TRUE(eventually([&] { return stage->clock().clocker().running(); }));
    if (row.check)
        row.check(*this);
    // Her loneliness waits a time a timer can hold, or not at all.
    const StageTimer& patience = stage->loneliness().timer();
    EXPECT_TRUE(!patience.isActive() || patience.interval() > 0);
    announcedOverMarch();
    stage->events().MessageTestClick();
    EXPECT_TRUE(balloon->isVisible());
    closeButton(*balloon).click();
    browseDialog(item("MIScheduleSet"));
    browseDialog(item("MIMemorialSet"));
    timers.advance(3 * 3600 * 1000);
    close();

    for (const auto& [name, value] : row.written)
        EXPECT_EQ(storedDword(name), std::optional<quint32>(value)) << name.toStdString();
    QStringList aside;
    for (const QString& file :
         QDir(folder.path() + QStringLiteral("/hourling")).entryList(QDir::Files))
        if (file.contains(QStringLiteral(".bad-")))
            aside << file;
    if (row.keptAside) {
        ASSERT_EQ(aside.size(), 1);
        QFile copy(folder.path() + QStringLiteral("/hourling/") + aside[0]);
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        EXPECT_EQ(copy.readAll(), edited);
    } else {
        EXPECT_TRUE(aside.isEmpty());
    }

    // What she wrote, she reads back as she held it, and the next close writes it again.
    const StageSettings first = storedSettings();
    const QByteArray firstFile = hiveBytes();
    start();
    EXPECT_EQ(stage->settings(), first);
    close();
    EXPECT_EQ(hiveBytes(), firstFile);
}

INSTANTIATE_TEST_SUITE_P(
    OutOfRangeOrMistyped, HandEditedSettings,
    ::testing::Values(
        HandEdit{"ThreadPrioBelowTheLevels",
                 [](HiveKey& key) { setDword(key, "ThreadPrio", quint32(-1)); },
                 {{"ThreadPrio", quint32(-1)}},
                 [](HandEditedSettings& t) {
                     EXPECT_EQ(t.checkedIn("MIThreadPriority"), nullptr);
                     t.expectClockAt(0);
                 }},
        HandEdit{"ThreadPrioAboveTheLevels",
                 [](HiveKey& key) { setDword(key, "ThreadPrio", 0x7FFFFFFF); },
                 {{"ThreadPrio", 0x7FFFFFFFu}},
                 [](HandEditedSettings& t) { t.expectClockAt(0); }},
        HandEdit{"SamiLimNegative",
                 [](HiveKey& key) { setDword(key, "samiLim", quint32(-5)); },
                 {{"samiLim", quint32(-5)}},
                 [](HandEditedSettings& t) {
                     EXPECT_FALSE(t.stage->loneliness().timer().isActive());
                     EXPECT_EQ(t.checkedIn("MIGaman"), nullptr);
                 }},
        HandEdit{"SamiLimBeyondTheTimer",
                 [](HiveKey& key) { setDword(key, "samiLim", 0x7FFFFFFF); },
                 {{"samiLim", 0x7FFFFFFFu}},
                 [](HandEditedSettings& t) {
                     EXPECT_EQ(t.stage->loneliness().timer().interval(),
                               std::numeric_limits<int>::max());
                 }},
        HandEdit{"SizeNoItemOffers",
                 [](HiveKey& key) { setDword(key, "Size", 130); },
                 {{"Size", 130u}},
                 [](HandEditedSettings& t) {
                     EXPECT_EQ(t.checkedIn("MISize"), nullptr);
                     EXPECT_EQ(t.stage->size(), QSize(208, 452));
                 }},
        HandEdit{"ScheduleFieldsOutOfRange",
                 [](HiveKey& key) {
                     setDword(key, "Yotei0", 0xFFFFFFFFu); // 127/255 255:255
                     setDword(key, "Yotei1", 0x8D20183Cu); // 13/32 24:60
                     setDword(key, "Yotei2", 0x00FF0000u); // not in use, day 255
                 },
                 {{"Yotei0", 0xFFFFFFFFu}, {"Yotei1", 0x8D20183Cu}, {"Yotei2", 0x00FF0000u}},
                 [](HandEditedSettings& t) {
                     // Never due: no month, day, hour or minute of the clock reaches them.
                     EXPECT_TRUE(t.announcedOverMarch().empty());
                     t.stage->events().MessageTestClick();
                     EXPECT_EQ(timeLabel(*t.balloon).text(), QStringLiteral("[127.255  255:255]"));
                     closeButton(*t.balloon).click();
                 }},
        HandEdit{"AnniversaryFieldsOutOfRange",
                 [](HiveKey& key) {
                     setDword(key, "KiTuki0", 0x1FF);    // in use, month 255
                     setDword(key, "KiTuki1", 0xFE10Du); // in use, month 13, unused bits
                     setDword(key, "KiHi0", 0);
                     setDword(key, "KiHi1", 0xFFFFFFFFu);
                     setDword(key, "KiHi2", 200); // a signed byte: -56
                 },
                 {{"KiTuki0", 0x1FFu},
                  {"KiTuki1", 0xE10Du},
                  {"KiHi0", 0u},
                  {"KiHi1", 0xFFFFFFFFu},
                  {"KiHi2", 0xFFFFFFC8u}},
                 [](HandEditedSettings& t) {
                     // Her schedules come; none of the anniversaries, which have no time.
                     const std::vector<QString> labels = t.announcedOverMarch();
                     EXPECT_FALSE(labels.empty());
                     EXPECT_TRUE(std::all_of(labels.begin(), labels.end(), [](const QString& l) {
                         return l.contains(QLatin1Char(':'));
                     }));
                 }},
        HandEdit{"FlagsOtherThanOneOrZero",
                 [](HiveKey& key) {
                     setDword(key, "AnaDigi", 2);
                     setDword(key, "StayOnTop", 0xFFFFFFFFu);
                     setDword(key, "DigiAMPM", 0x80000000u);
                 },
                 {{"AnaDigi", 1u}, {"StayOnTop", 1u}, {"DigiAMPM", 1u}}},
        HandEdit{"PlaceFarOffEveryScreen",
                 [](HiveKey& key) {
                     setDword(key, "FormLeft", 0x7FFF0000u);
                     setDword(key, "FormTop", 0x80000000u);
                 },
                 {}},
        HandEdit{"LastYoteiBeyondEveryKey",
                 [](HiveKey& key) { setDword(key, "lastYotei", 0x7FFFFFFFu); },
                 {},
                 [](HandEditedSettings& t) {
                     // Only schedules at their very minute come; none is caught up.
                     t.stage->events().checkYotei(3, 16, 9, 3);
                     EXPECT_TRUE(t.stage->events().pending().empty());
                 }},
        HandEdit{"AMessageOfSixtyFourKilobytes",
                 [](HiveKey& key) { setString(key, "yoMes0", QByteArray(64 * 1024, 'x')); },
                 {}},
        HandEdit{"NumberAsAString",
                 [](HiveKey& key) { setString(key, "AnaDigi", "0"); },
                 {{"AnaDigi", 1u}, {"samiLim", 3600u}},
                 {},
                 true},
        HandEdit{"StringAsANumber",
                 [](HiveKey& key) { setDword(key, "yoMes1", 7); },
                 {{"Yotei1", 0u}, {"Yotei2", 0x80000B0Au}},
                 {},
                 true},
        HandEdit{"TypesItDoesNotKnow",
                 [](HiveKey& key) {
                     key.setValue("samiLim", 11, QByteArray(8, '\x01'));   // a 64-bit number
                     key.setValue("kiSnd0", 7, QByteArray("a\0b\0\0", 5)); // a list of strings
                 },
                 {{"samiLim", 3600u}},
                 {},
                 true}),
    [](const ::testing::TestParamInfo<HandEdit>& info) { return std::string(info.param.name); });

} // namespace
