#include "app/SettingsStore.h"
#include "platform/HiveFile.h"
#include "platform/HiveRegistry.h"
#include "support/fixtures/SettingsFile.h"
#include "support/fixtures/StageSettingsText.h"
#include "support/fixtures/TempConfigHome.h"

#include <QFile>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QStringList kSaveOrder = {
    "lastYotei",  "AnaDigi",  "StayOnTop", "FormLeft", "FormTop", "samiLim", //
    "kiMes0",     "yoMes0",   "kiSnd0",    "yoSnd0",   "KiTuki0", "KiHi0",   "Yotei0",
    "kiMes1",     "yoMes1",   "kiSnd1",    "yoSnd1",   "KiTuki1", "KiHi1",   "Yotei1",
    "kiMes2",     "yoMes2",   "kiSnd2",    "yoSnd2",   "KiTuki2", "KiHi2",   "Yotei2",
    "ThreadPrio", "DigiAMPM", "Quiet",     "Size"};

// A record in which every field differs from its default, the slots' use flags too.
StageSettings customSettings() {
    StageSettings s = distinctSettings();
    for (EventSlots* kind : {&s.anniversaries, &s.schedules})
        for (EventSlot& slot : *kind)
            slot.used = true;
    return s;
}

class SettingsStore : public ::testing::Test {
protected:
    TempConfigHome home;
    HiveRegistry registry{HiveRegistry::defaultPath()};

    HiveFile hive() const { return HiveFile::parse(home.readHive()).value_or(HiveFile()); }

    std::optional<HiveKey> programKey() const {
        const HiveFile stored = hive();
        const HiveKey* key = stored.key(kProgramKey);
        return key ? std::optional<HiveKey>(*key) : std::nullopt;
    }

    std::optional<quint32> storedDword(const QString& name) {
        return ::storedDword(HiveRegistry::defaultPath(), name);
    }

    void editProgramKey(const std::function<void(HiveKey&)>& edit) {
        HiveFile changed = hive();
        edit(changed.createKey(kProgramKey));
        home.writeHive(changed.serialise());
    }

    void storeCustomWith(const std::function<void(HiveKey&)>& edit) {
        const StageSettings custom = customSettings();
        ASSERT_TRUE(saveSettings(registry, custom, QPoint(custom.FormLeft, custom.FormTop)));
        editProgramKey(edit);
    }

    StageSettings loaded() {
        StageSettings settings;
        EXPECT_TRUE(loadSettings(registry, settings));
        return settings;
    }
};

void removeValue(HiveKey& key, const QString& name) {
    key.values.removeIf([&](const HiveValue& v) { return v.name == name; });
}

void setDword(HiveKey& key, const QString& name, quint32 value) {
    QByteArray data(4, '\0');
    for (int i = 0; i < 4; ++i)
        data[i] = char(value >> (8 * i));
    key.setValue(name, RegType::kDword, data);
}

} // namespace

TEST_F(SettingsStore, FirstStartKeepsDefaultsCreatesTheKeyAndSavesEveryValue) {
    StageSettings settings;
    EXPECT_TRUE(loadSettings(registry, settings));
    EXPECT_EQ(settings, StageSettings());
    ASSERT_TRUE(programKey());
    EXPECT_TRUE(programKey()->values.isEmpty());

    EXPECT_TRUE(saveSettings(registry, settings, QPoint(40, 64)));
    const std::optional<HiveKey> key = programKey();
    ASSERT_TRUE(key);
    // Values keep the place of their first write, so a key filled from empty lists them in
    // the order of the save.
    QStringList names;
    for (const HiveValue& value : key->values) {
        names << value.name;
        EXPECT_EQ(value.type, value.name.contains("Mes") || value.name.contains("Snd")
                                  ? RegType::kString
                                  : RegType::kDword)
            << value.name.toStdString();
    }
    EXPECT_EQ(names, kSaveOrder);
    EXPECT_EQ(storedDword("AnaDigi"), 1u);
    EXPECT_EQ(storedDword("FormLeft"), 40u);
    EXPECT_EQ(storedDword("samiLim"), 3600u);
    EXPECT_EQ(storedDword("KiTuki0"), 0u);
    EXPECT_EQ(storedDword("KiHi0"), 1u);
    EXPECT_EQ(storedDword("Yotei0"), 0u);
    EXPECT_EQ(loaded(), StageSettings());
}

TEST_F(SettingsStore, EveryFieldRoundTrips) {
    StageSettings custom = customSettings();
    custom.schedules[0] = {true, 12, 15, 10, 30, "", ""};
    custom.schedules[1] = {true, 0, 0, 8, 0, "Ohayo", "毎朝\n\"起きて\"\\"};
    custom.anniversaries[2].day = -3; // what a signed day byte can hold
    custom.lastYotei = -123456;
    // Left of and above the first screen.
    custom.FormLeft = -1200;
    custom.FormTop = -7;
    ASSERT_TRUE(saveSettings(registry, custom, QPoint(-1200, -7)));
    EXPECT_EQ(storedDword("Yotei0"), 0x8C0F0A1Eu);
    EXPECT_EQ(storedDword("Yotei1"), 0x80000800u);
    EXPECT_EQ(storedDword("KiTuki0"), 0x10Au);
    EXPECT_EQ(storedDword("KiHi2"), 0xFFFFFFFDu);
    EXPECT_EQ(storedDword("FormLeft"), quint32(-1200));
    EXPECT_EQ(loaded(), custom);

    // Slots not in use, and their every-month and every-day markers.
    StageSettings unused = custom;
    for (EventSlot& slot : unused.anniversaries)
        slot = {false, 0, 31, 0, 0, "", ""};
    unused.schedules[2] = {false, 7, 0, 23, 55, "", ""};
    ASSERT_TRUE(saveSettings(registry, unused, QPoint(-1200, -7)));
    EXPECT_EQ(storedDword("KiTuki1"), 0u);
    EXPECT_EQ(storedDword("Yotei2"), 0x07001737u);
    EXPECT_EQ(loaded(), unused);
}

TEST_F(SettingsStore, SavesTheLivePositionNotTheStoredOne) {
    StageSettings settings = loaded();
    ASSERT_TRUE(saveSettings(registry, settings, QPoint(-300, 2000)));
    EXPECT_EQ(storedDword("FormLeft"), quint32(-300));
    EXPECT_EQ(storedDword("FormTop"), 2000u);
    const StageSettings again = loaded();
    EXPECT_EQ(again.FormLeft, -300);
    EXPECT_EQ(again.FormTop, 2000);
}

TEST_F(SettingsStore, MissingStayOnTopEndsTheReading) {
    storeCustomWith([](HiveKey& key) { removeValue(key, "StayOnTop"); });
    StageSettings expected;
    expected.AnaDigi = false;
    EXPECT_EQ(loaded(), expected);
}

TEST_F(SettingsStore, FormLeftStoredAsAStringEndsTheReading) {
    storeCustomWith([](HiveKey& key) {
        key.setValue("FormLeft", RegType::kString, QByteArray("-1200").append('\0'));
    });
    StageSettings expected;
    expected.AnaDigi = false;
    expected.StayOnTop = true;
    EXPECT_EQ(loaded(), expected);
}

TEST_F(SettingsStore, MissingKiTuki1EndsOnlyItsSlotGroup) {
    storeCustomWith([](HiveKey& key) { removeValue(key, "KiTuki1"); });
    const StageSettings custom = customSettings();
    StageSettings expected = custom;
    const StageSettings defaults;
    // The four strings of slot 1 come before the missing word and are taken.
    expected.anniversaries[1] = defaults.anniversaries[1];
    expected.anniversaries[1].message = custom.anniversaries[1].message;
    expected.anniversaries[1].clip = custom.anniversaries[1].clip;
    expected.schedules[1] = defaults.schedules[1];
    expected.schedules[1].message = custom.schedules[1].message;
    expected.schedules[1].clip = custom.schedules[1].clip;
    EXPECT_EQ(loaded(), expected);
}

TEST_F(SettingsStore, StringsMissingReadEmptyMistypedEndTheirGroup) {
    storeCustomWith([](HiveKey& key) {
        removeValue(key, "kiMes0");
        setDword(key, "kiSnd2", 5);
        key.setValue("yoMes1", RegType::kExpandString, QByteArray("%展開%").append('\0'));
    });
    const StageSettings custom = customSettings();
    StageSettings expected = custom;
    expected.anniversaries[0].message.clear();
    expected.schedules[1].message = "%展開%";
    const StageSettings defaults;
    expected.anniversaries[2] = defaults.anniversaries[2];
    expected.anniversaries[2].message = custom.anniversaries[2].message;
    expected.schedules[2] = defaults.schedules[2];
    expected.schedules[2].message = custom.schedules[2].message;
    EXPECT_EQ(loaded(), expected);
}

TEST_F(SettingsStore, MistypedTailValueEndsTheRest) {
    storeCustomWith([](HiveKey& key) {
        key.setValue("samiLim", RegType::kBinary, QByteArray("\x10\x0e\0\0", 4));
    });
    StageSettings expected = customSettings();
    const StageSettings defaults;
    expected.samiLim = defaults.samiLim;
    expected.ThreadPrio = defaults.ThreadPrio;
    expected.DigiAMPM = defaults.DigiAMPM;
    expected.Quiet = defaults.Quiet;
    expected.Size = defaults.Size;
    EXPECT_EQ(loaded(), expected);
}

TEST_F(SettingsStore, StoredWordsKeepTheirDocumentedWidths) {
    storeCustomWith([](HiveKey& key) {
        setDword(key, "AnaDigi", 0x80000000u);
        setDword(key, "StayOnTop", 2);
        setDword(key, "DigiAMPM", 0xFFFFFFFFu);
        setDword(key, "KiHi0", 0x101);
        setDword(key, "KiHi1", 0xFF);
        setDword(key, "KiTuki0", 0xFFFEA505u); // low 16 bits: in use, month 5, bits 9-15 set
        setDword(key, "KiTuki1", 0x10003u);    // bit 16 is not kept: not in use
        setDword(key, "KiTuki2", 0xFFFFFFFFu); // the upper half is written back as zeros
        setDword(key, "ThreadPrio", 9);
        setDword(key, "samiLim", quint32(-60));
    });
    const StageSettings settings = loaded();
    EXPECT_TRUE(settings.AnaDigi);
    EXPECT_TRUE(settings.StayOnTop);
    EXPECT_TRUE(settings.DigiAMPM);
    EXPECT_EQ(settings.anniversaries[0].day, 1);
    EXPECT_EQ(settings.anniversaries[1].day, -1);
    EXPECT_TRUE(settings.anniversaries[0].used);
    EXPECT_EQ(settings.anniversaries[0].month, 5);
    EXPECT_FALSE(settings.anniversaries[1].used);
    EXPECT_EQ(settings.anniversaries[1].month, 3);
    // Out-of-range values are loaded as they are; their users guard them.
    EXPECT_EQ(settings.ThreadPrio, 9);
    EXPECT_EQ(settings.samiLim, -60);

    ASSERT_TRUE(saveSettings(registry, settings, QPoint(0, 0)));
    EXPECT_EQ(storedDword("AnaDigi"), 1u);
    EXPECT_EQ(storedDword("StayOnTop"), 1u);
    EXPECT_EQ(storedDword("DigiAMPM"), 1u);
    EXPECT_EQ(storedDword("KiHi0"), 1u);
    EXPECT_EQ(storedDword("KiHi1"), 0xFFFFFFFFu);
    EXPECT_EQ(storedDword("KiTuki0"), 0xA505u);
    EXPECT_EQ(storedDword("KiTuki1"), 3u);
    EXPECT_EQ(storedDword("KiTuki2"), 0xFFFFu);
    EXPECT_EQ(storedDword("ThreadPrio"), 9u);
    EXPECT_EQ(storedDword("samiLim"), quint32(-60));
}

// A read error ends a group of reads, and the close writes the record over the values it
// left unread: the file as it was is kept beside it first, but only when something unread
// is there to lose.
struct UnreadCase {
    const char* name;
    std::function<void(HiveKey&)> edit;
    bool keptAside;
};

class ValuesLeftUnread : public SettingsStore, public ::testing::WithParamInterface<UnreadCase> {};

TEST_P(ValuesLeftUnread, KeepTheFileAsItWasBesideIt) {
    storeCustomWith(GetParam().edit);
    const QByteArray before = home.readHive();
    ASSERT_TRUE(saveSettings(registry, loaded(), QPoint(1, 2)));
    const QStringList others = home.otherFiles();
    if (!GetParam().keptAside) {
        EXPECT_TRUE(others.isEmpty()) << others.join(' ').toStdString();
        return;
    }
    ASSERT_EQ(others.size(), 1);
    EXPECT_TRUE(others[0].startsWith("user.reg.bad-")) << others[0].toStdString();
    QFile copy(home.hiveDirectory() + '/' + others[0]);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), before);
}

INSTANTIATE_TEST_SUITE_P(
    HandEdited, ValuesLeftUnread,
    ::testing::Values(
        UnreadCase{"FormLeftAsAString",
                   [](HiveKey& key) {
                       key.setValue("FormLeft", RegType::kString, QByteArray("7").append('\0'));
                   },
                   true},
        UnreadCase{"StayOnTopMissing", [](HiveKey& key) { removeValue(key, "StayOnTop"); }, true},
        UnreadCase{"KiTuki1Missing", [](HiveKey& key) { removeValue(key, "KiTuki1"); }, true},
        UnreadCase{"SoundNameAsANumber", [](HiveKey& key) { setDword(key, "kiSnd2", 5); }, true},
        UnreadCase{"SamiLimAsBytes",
                   [](HiveKey& key) {
                       key.setValue("samiLim", RegType::kBinary, QByteArray("\x10\x0e\0\0", 4));
                   },
                   true},
        // Nothing is read after the last value, and a missing message ends nothing.
        UnreadCase{"LastMissing", [](HiveKey& key) { removeValue(key, "Size"); }, false},
        UnreadCase{"MessageMissing", [](HiveKey& key) { removeValue(key, "yoMes1"); }, false},
        UnreadCase{"OutOfRangeNumbers",
                   [](HiveKey& key) {
                       setDword(key, "ThreadPrio", 9);
                       setDword(key, "Yotei0", 0xFFFFFFFFu);
                   },
                   false},
        // With values from the reading's end on already missing there is nothing to keep.
        UnreadCase{
            "TailMissing",
            [](HiveKey& key) {
                for (const char* name : {"samiLim", "ThreadPrio", "DigiAMPM", "Quiet", "Size"})
                    removeValue(key, name);
            },
            false}),
    [](const ::testing::TestParamInfo<UnreadCase>& info) { return std::string(info.param.name); });

TEST_F(SettingsStore, KeepsWhatItDoesNotKnow) {
    const QByteArray others = "Windows Registry Editor Version 5.00\n\n"
                              "[HKEY_CURRENT_USER\\Software\\Other Vendor\\Tool]\n"
                              "\"Path\"=hex(2):25,00\n"
                              "\"List\"=hex(7):61,00,00,00\n"
                              "\"Big\"=hex(b):01,02,03,04,05,06,07,08\n"
                              "@=\"default \\\"text\\\"\"\n"
                              "\n"
                              "[HKEY_CURRENT_USER\\SOFTWARE\\VELLMOOR\\hourling1]\n"
                              "\"anadigi\"=dword:00000000\n"
                              "\"Comment\"=\"kept\\nas is\"\n"
                              "\"Blob\"=hex(3):00,ff\n"
                              "\n"
                              "[HKEY_CURRENT_USER\\Software\\Empty]\n"
                              "\n"
                              "[HKEY_CURRENT_USER\\Only\\Below\\Here]\n"
                              "\"x\"=dword:00000001\n";
    home.writeHive(others);
    const HiveFile before = *HiveFile::parse(others);
    StageSettings settings = loaded();
    EXPECT_FALSE(settings.AnaDigi);
    ASSERT_TRUE(saveSettings(registry, customSettings(), QPoint(1, 2)));

    const HiveFile after = hive();
    for (const HiveKey& key : before.keys()) {
        const HiveKey* kept = after.key(key.path);
        ASSERT_NE(kept, nullptr) << key.path.toStdString();
        EXPECT_EQ(kept->path, key.path);
        if (key.path.compare(kProgramKey, Qt::CaseInsensitive) != 0) {
            EXPECT_EQ(*kept, key);
            continue;
        }
        // The program's own values join the unknown ones, which stay where they were.
        EXPECT_EQ(kept->values[0].name, "anadigi");
        EXPECT_EQ(kept->values[1], key.values[1]);
        EXPECT_EQ(kept->values[2], key.values[2]);
        EXPECT_EQ(kept->values.size(), storedValueNames().size() + 2);
        EXPECT_EQ(kept->values[3].name, "lastYotei");
    }
    EXPECT_EQ(after.keys().size(), before.keys().size());
}

TEST_F(SettingsStore, DamagedFileGivesDefaultsAndIsKeptAside) {
    home.writeHive("Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\SOFTWARE\\Vell");
    EXPECT_EQ(loaded(), StageSettings());
    EXPECT_EQ(home.otherFiles().size(), 1);
    EXPECT_TRUE(programKey());
}

TEST_F(SettingsStore, UnwritablePlaceFailsQuietly) {
    // The configuration directory's place is taken by a regular file.
    home.writeHive("");
    QFile::remove(home.hivePath());
    QDir(home.path()).rmdir("hourling");
    QFile blocker(home.hiveDirectory());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    StageSettings settings;
    EXPECT_FALSE(loadSettings(registry, settings));
    EXPECT_EQ(settings, StageSettings());
    EXPECT_FALSE(saveSettings(registry, settings, QPoint(5, 5)));
    EXPECT_FALSE(resetStoredSettings(registry));
}

TEST_F(SettingsStore, ResetRemovesTheKeyAndAnEmptyVendorKey) {
    EXPECT_FALSE(resetStoredSettings(registry));
    EXPECT_FALSE(home.hiveExists());

    ASSERT_TRUE(saveSettings(registry, customSettings(), QPoint(1, 2)));
    EXPECT_TRUE(resetStoredSettings(registry));
    EXPECT_FALSE(home.hiveExists());
    EXPECT_FALSE(resetStoredSettings(registry));

    // A vendor key with a section and values of its own goes too when left without subkeys.
    home.writeHive("Windows Registry Editor Version 5.00\n"
                   "[HKEY_CURRENT_USER\\SOFTWARE]\n"
                   "[HKEY_CURRENT_USER\\SOFTWARE\\Vellmoor]\n\"Note\"=\"x\"\n"
                   "[HKEY_CURRENT_USER\\SOFTWARE\\Vellmoor\\Hourling1]\n"
                   "[HKEY_CURRENT_USER\\SOFTWARE\\Vellmoor\\Hourling1\\Sub]\n");
    EXPECT_TRUE(resetStoredSettings(registry));
    HiveFile left = hive();
    EXPECT_FALSE(left.keyExists(kVendorKey));
    EXPECT_TRUE(left.keyExists("SOFTWARE"));
}

TEST_F(SettingsStore, ResetKeepsAVendorKeyWithOtherSubkeys) {
    home.writeHive(
        "Windows Registry Editor Version 5.00\n"
        "[HKEY_CURRENT_USER\\SOFTWARE\\Vellmoor]\n"
        "[HKEY_CURRENT_USER\\SOFTWARE\\Vellmoor\\Hourling1]\n\"AnaDigi\"=dword:00000000\n"
        "[HKEY_CURRENT_USER\\SOFTWARE\\Vellmoor\\OtherTool]\n\"v\"=dword:00000001\n");
    EXPECT_TRUE(resetStoredSettings(registry));
    const HiveFile left = hive();
    EXPECT_FALSE(left.keyExists(kProgramKey));
    EXPECT_NE(left.key(kVendorKey), nullptr);
    ASSERT_NE(left.key("SOFTWARE\\Vellmoor\\OtherTool"), nullptr);
    EXPECT_EQ(left.key("SOFTWARE\\Vellmoor\\OtherTool")->values.size(), 1);
}
