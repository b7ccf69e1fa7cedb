#include "support/SettingsFile.h"

#include "app/SettingsStore.h"
#include "platform/HiveRegistry.h"

bool storeSettings(const QString& hivePath, const StageSettings& settings) {
    HiveRegistry registry(hivePath);
    return saveSettings(registry, settings, {settings.FormLeft, settings.FormTop});
}

std::optional<quint32> storedDword(const QString& hivePath, const QString& name) {
    HiveRegistry registry(hivePath);
    if (!registry.openKey(kProgramKey, false))
        return std::nullopt;
    const std::optional<quint32> value = registry.readDword(name);
    registry.closeKey();
    return value;
}

StageSettings distinctSettings() {
    StageSettings s;
    s.AnaDigi = false;
    s.StayOnTop = true;
    s.FormLeft = 120;
    s.FormTop = 90;
    for (int i = 0; i < kSlotCount; ++i) {
        EventSlot& a = s.anniversaries[i];
        a.month = 10 + i;
        a.day = 20 + i;
        a.clip = QStringLiteral("Snd_Kinenbi%1").arg(i + 1);
        a.message = QStringLiteral("記念日 %1\n\"二行目\" C:\\path\\n\ttab \\ ").arg(i);
        EventSlot& y = s.schedules[i];
        y.month = 12;
        y.day = 15 + i;
        y.hour = 10 + i;
        y.minute = 30 + 5 * i;
        y.clip = QStringLiteral("Snd_Jikan%1").arg(i + 1);
        y.message = QStringLiteral("予定 %1\r\n二行目").arg(i);
    }
    s.lastYotei = 0x0C0F0A1E;
    s.samiLim = 1800;
    s.ThreadPrio = 2;
    s.DigiAMPM = true;
    return s;
}
