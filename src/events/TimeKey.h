#pragma once

#include <QtGlobal>

// A moment of the year as one integer in calendar order: month in bits 24-30, day in 16-23,
// hour in 8-15, minute in 0-7. It holds no year, so January's keys lie below December's.
constexpr qint32 timeKey(int month, int day, int hour, int minute) {
    return qint32(month * 16'777'216 + day * 65'536 + hour * 256 + minute);
}
