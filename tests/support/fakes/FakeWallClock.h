#pragma once

#include "platform/WallClock.h"

#include <QDateTime>
#include <atomic>
#include <mutex>

inline LocalTime timeOf(int month, int day, int hour, int minute, int second) {
    LocalTime t;
    t.year = 2026;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return t;
}

// The local time a number of seconds after another, across minutes, hours and days.
inline LocalTime secondsAfter(const LocalTime& start, int seconds) {
    const QDateTime at = QDateTime(QDate(start.year, start.month, start.day),
                                   QTime(start.hour, start.minute, start.second), Qt::UTC)
                             .addSecs(seconds);
    LocalTime t = timeOf(at.date().month(), at.date().day(), at.time().hour(), at.time().minute(),
                         at.time().second());
    t.year = at.date().year();
    return t;
}

// A wall clock that shows what the test sets, and counts how often it is read.
class FakeWallClock : public WallClock {
public:
    LocalTime now() const override {
        const std::lock_guard lock(mutex_);
        ++reads_;
        return time_;
    }
    void set(const LocalTime& time) {
        const std::lock_guard lock(mutex_);
        time_ = time;
    }
    int reads() const {
        const std::lock_guard lock(mutex_);
        return reads_;
    }

private:
    mutable std::mutex mutex_;
    LocalTime time_;
    mutable int reads_ = 0;
};

// A new second at every reading.
class RacingClock : public WallClock {
public:
    LocalTime now() const override {
        const int n = count_++;
        return timeOf(3, 15, 8, (n / 60) % 60, n % 60);
    }

private:
    mutable std::atomic<int> count_{0};
};
