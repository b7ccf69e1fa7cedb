#include "app/SettingsStore.h"

#include "platform/Registry.h"
#include "shared/TimeKey.h"

#include <QStringList>
#include <algorithm>
#include <vector>

namespace {

// How a value is stored, and so how it is read into its field and written from it.
enum class Kind {
    Flag,            // a DWORD, non-zero is true; written as 1 or 0
    Number,          // a DWORD, signed
    Text,            // a string
    AnniversaryWord, // bits 0-7 month, bit 8 in use; the low 16 bits are kept
    AnniversaryDay,  // the low 8 bits as a signed byte; written widened with its sign
    ScheduleWord,    // the time key's layout, bit 31 in use
};

enum class SlotKind { None, Anniversaries, Schedules };

// One stored value and the field it fills. A value of a slot group is stored once for each
// slot, its name followed by the slot's digit.
struct StoredValue {
    const char* name;
    Kind kind;
    // Where it stands in the order of writing, which differs from the order of reading.
    int writtenAs;
    bool StageSettings::*flag = nullptr;
    qint32 StageSettings::*number = nullptr;
    SlotKind slotKind = SlotKind::None;
    QString EventSlot::*text = nullptr;
};

// In the order they are read. A read error ends the reading, except inside the slot groups,
// where it ends only the group of its slot.
const StoredValue kStoredValues[] = {
    {.name = "AnaDigi", .kind = Kind::Flag, .writtenAs = 1, .flag = &StageSettings::AnaDigi},
    {.name = "StayOnTop", .kind = Kind::Flag, .writtenAs = 2, .flag = &StageSettings::StayOnTop},
    {.name = "FormLeft", .kind = Kind::Number, .writtenAs = 3, .number = &StageSettings::FormLeft},
    {.name = "FormTop", .kind = Kind::Number, .writtenAs = 4, .number = &StageSettings::FormTop},
    {.name = "kiMes",
     .kind = Kind::Text,
     .writtenAs = 6,
     .slotKind = SlotKind::Anniversaries,
     .text = &EventSlot::message},
    {.name = "yoMes",
     .kind = Kind::Text,
     .writtenAs = 7,
     .slotKind = SlotKind::Schedules,
     .text = &EventSlot::message},
    {.name = "kiSnd",
     .kind = Kind::Text,
     .writtenAs = 8,
     .slotKind = SlotKind::Anniversaries,
     .text = &EventSlot::clip},
    {.name = "yoSnd",
     .kind = Kind::Text,
     .writtenAs = 9,
     .slotKind = SlotKind::Schedules,
     .text = &EventSlot::clip},
    {.name = "KiTuki",
     .kind = Kind::AnniversaryWord,
     .writtenAs = 10,
     .slotKind = SlotKind::Anniversaries},
    {.name = "KiHi",
     .kind = Kind::AnniversaryDay,
     .writtenAs = 11,
     .slotKind = SlotKind::Anniversaries},
    {.name = "Yotei", .kind = Kind::ScheduleWord, .writtenAs = 12, .slotKind = SlotKind::Schedules},
    {.name = "lastYotei",
     .kind = Kind::Number,
     .writtenAs = 0,
     .number = &StageSettings::lastYotei},
    {.name = "samiLim", .kind = Kind::Number, .writtenAs = 5, .number = &StageSettings::samiLim},
    {.name = "ThreadPrio",
     .kind = Kind::Number,
     .writtenAs = 13,
     .number = &StageSettings::ThreadPrio},
    {.name = "DigiAMPM", .kind = Kind::Flag, .writtenAs = 14, .flag = &StageSettings::DigiAMPM},
    {.name = "Quiet", .kind = Kind::Flag, .writtenAs = 15, .flag = &StageSettings::Quiet},
    {.name = "Size", .kind = Kind::Number, .writtenAs = 16, .number = &StageSettings::Size},
};

QString valueName(const StoredValue& value, int slot) {
    const QString name = QLatin1StringView(value.name);
    return value.slotKind == SlotKind::None ? name : name + QString::number(slot);
}

EventSlot& slotOf(StageSettings& settings, const StoredValue& value, int slot) {
    return (value.slotKind == SlotKind::Anniversaries ? settings.anniversaries
                                                      : settings.schedules)[slot];
}

// The stored words. Anniversaries: bits 9-15 are nothing of ours and are written back as
// they were read.
constexpr quint16 kOtherAnniversaryBits = 0xFE00;
constexpr quint32 kAnniversaryInUse = 0x100;
constexpr quint32 kScheduleInUse = 0x80000000u;

quint32 storedWord(const StoredValue& value, const EventSlot& slot) {
    using namespace TimeKeyLayout;
    switch (value.kind) {
    case Kind::AnniversaryWord:
        return (slot.otherWordBits & kOtherAnniversaryBits) | (slot.used ? kAnniversaryInUse : 0) |
               (quint32(slot.month) & kFieldMask);
    case Kind::AnniversaryDay:
        return quint32(qint32(qint8(slot.day)));
    default:
        return (slot.used ? kScheduleInUse : 0) |
               (quint32(slot.month) & kMonthMask) << kMonthShift |
               (quint32(slot.day) & kFieldMask) << kDayShift |
               (quint32(slot.hour) & kFieldMask) << kHourShift |
               (quint32(slot.minute) & kFieldMask);
    }
}

void takeWord(const StoredValue& value, EventSlot& slot, quint32 word) {
    using namespace TimeKeyLayout;
    switch (value.kind) {
    case Kind::AnniversaryWord:
        slot.used = (word & kAnniversaryInUse) != 0;
        slot.month = int(word & kFieldMask);
        slot.otherWordBits = quint16(word) & kOtherAnniversaryBits;
        break;
    case Kind::AnniversaryDay:
        slot.day = qint8(quint8(word));
        break;
    default:
        slot.used = (word & kScheduleInUse) != 0;
        slot.month = int(word >> kMonthShift & kMonthMask);
        slot.day = int(word >> kDayShift & kFieldMask);
        slot.hour = int(word >> kHourShift & kFieldMask);
        slot.minute = int(word & kFieldMask);
        break;
    }
}

// Each read stores into its field only when the value is there with the right type; false
// is a read error. It notes what it took, so that what a read error left unread can be found.
class SettingsReader {
public:
    SettingsReader(Registry& registry, StageSettings& settings)
        : registry_(registry), settings_(settings) {}

    bool read(const StoredValue& value, int slot) {
        const QString name = valueName(value, slot);
        if (value.kind == Kind::Text) {
            std::optional<QString> text = registry_.readString(name);
            if (!text)
                return false;
            slotOf(settings_, value, slot).*value.text = std::move(*text);
        } else {
            const std::optional<quint32> word = registry_.readDword(name);
            if (!word)
                return false;
            if (value.flag)
                settings_.*value.flag = *word != 0;
            else if (value.number)
                settings_.*value.number = qint32(*word);
            else
                takeWord(value, slotOf(settings_, value, slot), *word);
        }
        taken_ << name;
        return true;
    }

    // Whether a read error left a value of the settings unread that the key holds, which
    // the next save would replace with what the record holds instead.
    bool leftValuesUnread() {
        for (const QString& name : storedValueNames()) {
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
    Registry& registry_;
    StageSettings& settings_;
    QStringList taken_;
};

void readAll(SettingsReader& reader) {
    const auto* value = std::begin(kStoredValues);
    const auto* end = std::end(kStoredValues);
    while (value != end) {
        if (value->slotKind == SlotKind::None) {
            if (!reader.read(*value++, 0))
                return;
            continue;
        }
        const auto* groupEnd = std::find_if(
            value, end, [](const StoredValue& v) { return v.slotKind == SlotKind::None; });
        for (int slot = 0; slot < kSlotCount; ++slot) {
            for (const auto* member = value; member != groupEnd; ++member)
                if (!reader.read(*member, slot))
                    break;
        }
        value = groupEnd;
    }
}

// The table in the order of writing: the slot groups' values together, slot by slot.
std::vector<std::pair<const StoredValue*, int>> writingOrder() {
    std::vector<const StoredValue*> byRank;
    for (const StoredValue& value : kStoredValues)
        byRank.push_back(&value);
    std::sort(byRank.begin(), byRank.end(), [](const StoredValue* a, const StoredValue* b) {
        return a->writtenAs < b->writtenAs;
    });
    std::vector<std::pair<const StoredValue*, int>> order;
    for (auto at = byRank.begin(); at != byRank.end();) {
        if ((*at)->slotKind == SlotKind::None) {
            order.emplace_back(*at++, 0);
            continue;
        }
        const auto groupEnd = std::find_if(
            at, byRank.end(), [](const StoredValue* v) { return v->slotKind == SlotKind::None; });
        for (int slot = 0; slot < kSlotCount; ++slot)
            for (auto member = at; member != groupEnd; ++member)
                order.emplace_back(*member, slot);
        at = groupEnd;
    }
    return order;
}

} // namespace

QStringList storedValueNames() {
    QStringList names;
    for (const StoredValue& value : kStoredValues) {
        if (value.slotKind == SlotKind::None)
            names << valueName(value, 0);
        else
            for (int slot = 0; slot < kSlotCount; ++slot)
                names << valueName(value, slot);
    }
    return names;
}

// With the hive file a created key and the writes reach the disk only when the key closes,
// so a key that could not be written there counts as one that could not be created.
bool loadSettings(Registry& registry, StageSettings& settings) {
    if (!registry.openKey(kProgramKey, true))
        return false;
    SettingsReader reader(registry, settings);
    readAll(reader);
    const bool unread = reader.leftValuesUnread();
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

bool saveSettings(Registry& registry, const StageSettings& settings, QPoint windowPosition) {
    if (!registry.openKey(kProgramKey, true))
        return false;
    StageSettings written = settings;
    written.FormLeft = windowPosition.x();
    written.FormTop = windowPosition.y();
    // A failed write ends the save; the values after it are not written.
    bool ok = true;
    for (const auto& [value, slot] : writingOrder()) {
        const QString name = valueName(*value, slot);
        if (value->kind == Kind::Text)
            ok = registry.writeString(name, slotOf(written, *value, slot).*value->text);
        else if (value->flag)
            ok = registry.writeDword(name, written.*value->flag ? 1 : 0);
        else if (value->number)
            ok = registry.writeDword(name, quint32(written.*value->number));
        else
            ok = registry.writeDword(name, storedWord(*value, slotOf(written, *value, slot)));
        if (!ok)
            break;
    }
    return registry.closeKey();
}

bool resetStoredSettings(Registry& registry) {
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
