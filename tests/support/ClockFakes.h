#pragma once

#include "clock/ClockHost.h"
#include "platform/SecondWaiter.h"
#include "platform/ThreadPriority.h"
#include "platform/WallClock.h"

#include <QDateTime>
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

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

// Each wait moves the fake clock to the next time of a script; at the script's end the
// waits report an interruption, which ends the loop.
class ScriptedWaiter : public SecondWaiter {
public:
    explicit ScriptedWaiter(FakeWallClock& clock) : clock_(clock) {}
    void then(const LocalTime& time) { script_.push_back(time); }
    bool waitForNextSecond() override {
        ++waits_;
        if (script_.empty())
            return false;
        clock_.set(script_.front());
        script_.pop_front();
        return true;
    }
    void interrupt() override {}
    void wake() override {}
    int waits() const { return waits_; }

private:
    FakeWallClock& clock_;
    std::deque<LocalTime> script_;
    int waits_ = 0;
};

// Writes down every call the clock thread makes, in order.
class RecordingHost : public ClockHost {
public:
    void composeDial(int hour, int minute) override {
        log("compose " + std::to_string(hour) + ":" + std::to_string(minute));
    }
    void showDial(int second) override { log("show " + std::to_string(second)); }
    void checkKinenbi(int month, int day) override {
        log("kinenbi " + std::to_string(month) + "/" + std::to_string(day));
    }
    void checkYotei(int month, int day, int hour, int minute) override {
        log("yotei " + std::to_string(month) + "/" + std::to_string(day) + " " +
            std::to_string(hour) + ":" + std::to_string(minute));
    }
    void setApplicationTitle(const QString& text) override { log("title " + text.toStdString()); }

    std::vector<std::string> calls() const {
        const std::lock_guard lock(mutex_);
        return calls_;
    }
    // Only the calls that start with the prefix.
    std::vector<std::string> calls(const std::string& prefix) const {
        std::vector<std::string> matching;
        for (const std::string& call : calls())
            if (call.rfind(prefix, 0) == 0)
                matching.push_back(call);
        return matching;
    }

private:
    void log(std::string call) {
        const std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
    }
    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
};

// Sleeps until interrupted or woken, so that the thread stays alive for the test to look at.
class ParkingWaiter : public SecondWaiter {
public:
    bool waitForNextSecond() override {
        std::unique_lock lock(mutex_);
        woken_.wait(lock, [&] { return interrupted_ || wakes_ > 0; });
        if (interrupted_)
            return false;
        --wakes_;
        return true;
    }
    void interrupt() override {
        const std::lock_guard lock(mutex_);
        interrupted_ = true;
        woken_.notify_all();
    }
    void wake() override {
        const std::lock_guard lock(mutex_);
        wakes_ = 1;
        woken_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable woken_;
    bool interrupted_ = false;
    int wakes_ = 0;
};

// Each wait lasts a moment of real time and moves the fake clock one second on; a wake ends
// it early, without moving the clock. Notes which thread waited last.
class TickingWaiter : public SecondWaiter {
public:
    TickingWaiter(FakeWallClock& clock, const LocalTime& start, int pauseMs = 1)
        : clock_(clock), start_(start), pauseMs_(pauseMs) {
        clock_.set(start);
    }
    bool waitForNextSecond() override {
        std::unique_lock lock(mutex_);
        lastThread_ = ThreadPriority::currentThreadId();
        const bool woken = changed_.wait_for(lock, std::chrono::milliseconds(pauseMs_),
                                             [&] { return interrupted_ || wakes_ > 0; });
        if (interrupted_)
            return false;
        if (woken) {
            wakes_ = 0;
            return true;
        }
        clock_.set(secondsAfter(start_, ++seconds_));
        return true;
    }
    void interrupt() override {
        const std::lock_guard lock(mutex_);
        interrupted_ = true;
        changed_.notify_all();
    }
    void wake() override {
        const std::lock_guard lock(mutex_);
        wakes_ = 1;
        changed_.notify_all();
    }
    // How far the clock has been moved.
    int seconds() const {
        const std::lock_guard lock(mutex_);
        return seconds_;
    }
    pid_t lastThread() const {
        const std::lock_guard lock(mutex_);
        return lastThread_;
    }

private:
    FakeWallClock& clock_;
    const LocalTime start_;
    const int pauseMs_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool interrupted_ = false;
    int wakes_ = 0;
    int seconds_ = 0;
    pid_t lastThread_ = 0;
};

// Never waits: the loop runs as fast as its host lets it.
class RushingWaiter : public SecondWaiter {
public:
    bool waitForNextSecond() override { return !interrupted_; }
    void interrupt() override { interrupted_ = true; }
    void wake() override {}

private:
    std::atomic<bool> interrupted_{false};
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
