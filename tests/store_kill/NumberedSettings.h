#pragma once

#include "shared/StageSettings.h"

#include <QPoint>

// The record of save number n. Every field follows from n, and the messages' lengths vary
// with it, so a file that mixed two saves or lost a tail would not match any one number.
inline StageSettings numberedSettings(qint32 n) {
    StageSettings s;
    s.AnaDigi = n % 2;
    s.StayOnTop = n / 2 % 2;
    s.DigiAMPM = n / 4 % 2;
    s.FormLeft = -n;
    s.FormTop = n % 5000;
    for (int i = 0; i < 3; ++i) {
        const int m = n + i;
        EventSlot& a = s.anniversaries[i];
        a.used = m % 2;
        a.month = m % 13;
        a.day = 1 + m % 31;
        a.clip = QStringLiteral("clip %1.%2").arg(n).arg(i);
        a.message = QStringLiteral("保存 %1\n\"記念日\" \\ %2 ").arg(n).arg(i).repeated(1 + m % 40);
        EventSlot& y = s.schedules[i];
        y.used = m / 2 % 2;
        y.month = m % 13;
        y.day = m % 32;
        y.hour = m % 24;
        y.minute = (5 * m) % 60;
        y.clip = QStringLiteral("yotei %1.%2").arg(n).arg(i);
        y.message = QStringLiteral("予定 %1 の %2\r\n").arg(n).arg(i).repeated(1 + m % 30);
    }
    s.lastYotei = n * 3;
    s.samiLim = n;
    s.ThreadPrio = n % 6;
    return s;
}

inline QPoint numberedPosition(qint32 n) {
    const StageSettings s = numberedSettings(n);
    return QPoint(s.FormLeft, s.FormTop);
}
