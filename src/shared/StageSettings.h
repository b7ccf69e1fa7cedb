#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

// Each kind of event has this many slots, numbered from 0.
inline constexpr int kSlotCount = 3;

// One schedule or anniversary.
struct EventSlot {
    bool used = false;
    int month = 0;   // 0: every month
    int day = 0;     // schedules 0: every day; anniversaries 1-31
    int hour = 0;    // schedules only
    int minute = 0;  // schedules only
    QString clip;    // empty: no clip
    QString message; // empty: the default text
    // Anniversaries: bits 9-15 of the stored word, which nothing here uses; written back as
    // they were read.
    quint16 otherWordBits = 0;

    friend bool operator==(const EventSlot&, const EventSlot&) = default;
};

using EventSlots = std::array<EventSlot, kSlotCount>;

// Every setting that outlives a run.
struct StageSettings {
    StageSettings() {
        for (EventSlot& slot : anniversaries)
            slot.day = 1;
    }

    bool AnaDigi = true;
    bool StayOnTop = false;
    qint32 FormLeft = 40;
    qint32 FormTop = 64;
    EventSlots anniversaries;
    EventSlots schedules;
    qint32 lastYotei = 0;
    qint32 samiLim = 3600;
    qint32 ThreadPrio = 0;
    bool DigiAMPM = false;
    // Her clips silenced; everything else she does goes on.
    bool Quiet = false;
    // Her size in percent of her own.
    qint32 Size = 100;

    bool operator==(const StageSettings&) const = default;
};
