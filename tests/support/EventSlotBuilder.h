#pragma once

#include "shared/StageSettings.h"

// One schedule or anniversary as a test writes it down.
inline EventSlot eventSlot(bool used, int month, int day, int hour = 0, int minute = 0,
                           const QString& clip = {}, const QString& message = {}) {
    EventSlot slot;
    slot.used = used;
    slot.month = month;
    slot.day = day;
    slot.hour = hour;
    slot.minute = minute;
    slot.clip = clip;
    slot.message = message;
    return slot;
}
