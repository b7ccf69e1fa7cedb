#include "events/RepeatedHour.h"

#include <QDateTime>

bool comesTwice(int month, int day, int hour, int minute) {
    const QDate date(QDate::currentDate().year(), month, day);
    const QTime time(hour, minute);
    if (!date.isValid() || !time.isValid())
        return false;
    // The wall time's numbers read as UTC, shifted by the offsets in force half a day before
    // and after: each that leads back to the same wall time is one of its instants.
    const QDateTime numbers(date, time, Qt::UTC);
    const int before = numbers.addSecs(-12 * 3600).toLocalTime().offsetFromUtc();
    const int after = numbers.addSecs(12 * 3600).toLocalTime().offsetFromUtc();
    if (before == after)
        return false;
    for (const int offset : {before, after}) {
        const QDateTime local = numbers.addSecs(-offset).toLocalTime();
        if (local.date() != date || local.time() != time)
            return false;
    }
    return true;
}
