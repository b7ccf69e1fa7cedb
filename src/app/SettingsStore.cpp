#include "app/SettingsStore.h"

#include "platform/Registry.h"

#include <QStringList>

namespace {

QString slotName(const char* prefix, int slot) {
    return QLatin1StringView(prefix) + QString::number(slot);
}

// The anniversary word: bits 0-7 the month, bit 8 in use. Its low 16 bits are kept, and
// saved again widened with zeros.
constexpr quint16 kOtherAnniversaryBits = 0xFE00;

void setAnniversaryWord(EventSlot& slot, quint16 word) {
    slot.used = (word & 0x100) != 0;
    slot.month = word & 0xFF;
    slot.otherWordBits = word & kOtherAnniversaryBits;
}

quint32 anniversaryWord(const EventSlot& slot) {
    return (slot.otherWordBits & kOtherAnniversaryBits) | (slot.used ? 0x100u : 0u) |
           (quint32(slot.month) & 0xFF);
}

// The schedule word: bit 31 in use, bits 24-30 month, 16-23 day, 8-15 hour, 0-7 minute.
void setScheduleWord(EventSlot& slot, quint32 word) {
    slot.used = (word & 0x80000000u) != 0;
    slot.month = int(word >> 24 & 0x7F);
    slot.day = int(word >> 16 & 0xFF);
    slot.hour = int(word >> 8 & 0xFF);
    slot.minute = int(word & 0xFF);
}

quint32 scheduleWord(const EventSlot& slot) {
    return (slot.used ? 0x80000000u : 0u) | (quint32(slot.month) & 0x7F) << 24 |
           (quint32(slot.day) & 0xFF) << 16 | (quint32(slot.hour) & 0xFF) << 8 |
           (quint32(slot.minute) & 0xFF);
}

// Each read stores into its field only when the value is there with the right type; false
// is a read error, which ends the group of reads it belongs to. It notes what it took, so
// that what a read error left unread can be found.
class SettingsReader {
public:
    explicit SettingsReader(Registry& registry) : registry_(registry) {}

    bool flag(const QString& name, bool& field) {
        const std::optional<quint32> value = word(name);
        if (value)
            field = *value != 0;
        return value.has_value();
    }

    bool number(const QString& name, qint32& field) {
        const std::optional<quint32> value = word(name);
        if (value)
            field = qint32(*value);
        return value.has_value();
    }

    bool text(const QString& name, QString& field) {
        std::optional<QString> value = registry_.readString(name);
        if (!value)
            return false;
        field = std::move(*value);
        taken_ << name;
        return true;
    }

    bool slotGroup(int slot, EventSlot& anniversary, EventSlot& schedule) {
        if (!text(slotName("kiMes", slot), anniversary.message) ||
            !text(slotName("yoMes", slot), schedule.message) ||
            !text(slotName("kiSnd", slot), anniversary.clip) ||
            !text(slotName("yoSnd", slot), schedule.clip))
            return false;
        const std::optional<quint32> kiTuki = word(slotName("KiTuki", slot));
        if (!kiTuki)
            return false;
        setAnniversaryWord(anniversary, quint16(*kiTuki));
        const std::optional<quint32> kiHi = word(slotName("KiHi", slot));
        if (!kiHi)
            return false;
        anniversary.day = qint8(quint8(*kiHi));
        const std::optional<quint32> yotei = word(slotName("Yotei", slot));
        if (!yotei)
            return false;
        setScheduleWord(schedule, *yotei);
        return true;
    }

    // Whether a read error left a value of the settings unread that the key holds, which
    // the next save would replace with what the record holds instead.
    bool leftValuesUnread() {
        for (const QString& name : valueNames()) {
            if (taken_.contains(name))
                continue;
            // An empty string or a missing value has nothing to lose.
            if (registry_.readDword(name) ||
                registry_.readString(name) != std::optional<QString>(QString()))
                return true;
        }
        return false;
    }

private:
    std::optional<quint32> word(const QString& name) {
        const std::optional<quint32> value = registry_.readDword(name);
        if (value)
            taken_ << name;
        return value;
    }

    static QStringList valueNames() {
        QStringList names = {QStringLiteral("AnaDigi"), QStringLiteral("StayOnTop"),
                             QStringLiteral("FormLeft"), QStringLiteral("FormTop")};
        for (int slot = 0; slot < 3; ++slot)
            for (const char* prefix :
                 {"kiMes", "yoMes", "kiSnd", "yoSnd", "KiTuki", "KiHi", "Yotei"})
                names << slotName(prefix, slot);
        names << QStringLiteral("lastYotei") << QStringLiteral("samiLim")
              << QStringLiteral("ThreadPrio") << QStringLiteral("DigiAMPM");
        return names;
    }

    Registry& registry_;
    QStringList taken_;
};

// Stops at the first failed write; the values after it are not written.
class SettingsWriter {
public:
    explicit SettingsWriter(Registry& registry) : registry_(registry) {}

    SettingsWriter& dword(const QString& name, quint32 value) {
        ok_ = ok_ && registry_.writeDword(name, value);
        return *this;
    }
    SettingsWriter& flag(const QString& name, bool value) { return dword(name, value ? 1 : 0); }
    SettingsWriter& number(const QString& name, qint32 value) {
        return dword(name, quint32(value));
    }
    SettingsWriter& text(const QString& name, const QString& value) {
        ok_ = ok_ && registry_.writeString(name, value);
        return *this;
    }

private:
    Registry& registry_;
    bool ok_ = true;
};

} // namespace

// With the hive file a created key and the writes reach the disk only when the key closes,
// so a key that could not be written there counts as one that could not be created.
bool LoadSettings(Registry& registry, StageSettings& settings) {
    if (!registry.openKey(kProgramKey, true))
        return false;
    SettingsReader read(registry);
    if (read.flag(QStringLiteral("AnaDigi"), settings.AnaDigi) &&
        read.flag(QStringLiteral("StayOnTop"), settings.StayOnTop) &&
        read.number(QStringLiteral("FormLeft"), settings.FormLeft) &&
        read.number(QStringLiteral("FormTop"), settings.FormTop)) {
        for (int slot = 0; slot < 3; ++slot)
            read.slotGroup(slot, settings.anniversaries[slot], settings.schedules[slot]);
        if (read.number(QStringLiteral("lastYotei"), settings.lastYotei) &&
            read.number(QStringLiteral("samiLim"), settings.samiLim) &&
            read.number(QStringLiteral("ThreadPrio"), settings.ThreadPrio))
            read.flag(QStringLiteral("DigiAMPM"), settings.DigiAMPM);
    }
    const bool unread = read.leftValuesUnread();
    const bool closed = registry.closeKey();
    // The close writes the record over what could not be read: the file as it was stays
    // beside it for the user, as a damaged one does.
    if (unread) {
        const QString copy = registry.keepCopy();
        if (!copy.isEmpty())
            qWarning("hourling: some of her settings could not be read and keep their defaults; "
                     "the settings as they were are kept in %s",
                     qPrintable(copy));
    }
    return closed;
}

bool SaveSettings(Registry& registry, const StageSettings& settings, QPoint windowPosition) {
    if (!registry.openKey(kProgramKey, true))
        return false;
    SettingsWriter write(registry);
    write.number(QStringLiteral("lastYotei"), settings.lastYotei)
        .flag(QStringLiteral("AnaDigi"), settings.AnaDigi)
        .flag(QStringLiteral("StayOnTop"), settings.StayOnTop)
        .number(QStringLiteral("FormLeft"), windowPosition.x())
        .number(QStringLiteral("FormTop"), windowPosition.y())
        .number(QStringLiteral("samiLim"), settings.samiLim);
    for (int slot = 0; slot < 3; ++slot) {
        const EventSlot& anniversary = settings.anniversaries[slot];
        const EventSlot& schedule = settings.schedules[slot];
        write.text(slotName("kiMes", slot), anniversary.message)
            .text(slotName("yoMes", slot), schedule.message)
            .text(slotName("kiSnd", slot), anniversary.clip)
            .text(slotName("yoSnd", slot), schedule.clip)
            .dword(slotName("KiTuki", slot), anniversaryWord(anniversary))
            .number(slotName("KiHi", slot), qint8(anniversary.day))
            .dword(slotName("Yotei", slot), scheduleWord(schedule));
    }
    write.number(QStringLiteral("ThreadPrio"), settings.ThreadPrio)
        .flag(QStringLiteral("DigiAMPM"), settings.DigiAMPM);
    return registry.closeKey();
}

bool ResetStoredSettings(Registry& registry) {
    if (!registry.keyExists(kProgramKey))
        return false;
    const bool deleted = registry.deleteKey(kProgramKey);
    if (registry.keyExists(kVendorKey) && registry.openKey(kVendorKey, false)) {
        const bool hasSubKeys = registry.hasSubKeys();
        registry.closeKey();
        if (!hasSubKeys)
            registry.deleteKey(kVendorKey);
    }
    return deleted;
}
