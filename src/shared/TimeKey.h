#pragma once

#include <QtGlobal>

// A moment of the year as one integer in calendar order: month in bits 24-30, day in 16-23,
// hour in 8-15, minute in 0-7. It holds no year, so January's keys lie below December's.
// The stored schedule word is the same layout with bit 31 for "in use".
namespace TimeKeyLayout {
inline constexpr int kMonthShift = 24;
inline constexpr int kDayShift = 16;
inline constexpr int kHourShift = 8;
inline constexpr quint32 kMonthMask = 0x7F;
inline constexpr quint32 kFieldMask = 0xFF;
} // namespace TimeKeyLayout

constexpr qint32 timeKey(int month, int day, int hour, int minute) {
    using namespace TimeKeyLayout;
    return qint32(month * (1 << kMonthShift) + day * (1 << kDayShift) + hour * (1 << kHourShift) +
                  minute);
}
