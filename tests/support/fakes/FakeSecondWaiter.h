#pragma once

#include "platform/SecondWaiter.h"
#include "platform/ThreadPriority.h"
#include "support/fakes/FakeWallClock.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

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
