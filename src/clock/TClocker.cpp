#include "clock/TClocker.h"

#include "clock/ClockHost.h"
#include "platform/SecondWaiter.h"
#include "platform/ThreadPriority.h"
#include "platform/WallClock.h"

TClocker::TClocker(ClockHost& host, const WallClock& clock, SecondWaiter& waiter,
                   const QLocale& locale)
    : host_(host), clock_(clock), waiter_(waiter), sentences_(locale) {}

TClocker::~TClocker() {
    Terminate();
    WaitFor();
}

void TClocker::Resume() {
    const std::lock_guard lock(threadMutex_);
    if (thread_.joinable() || terminated_)
        return;
    running_ = true;
    thread_ = std::thread([this] {
        {
            const std::lock_guard start(threadMutex_);
            tid_ = ThreadPriority::currentThreadId();
            ThreadPriority::apply(tid_, level_);
        }
        try {
            Execute();
        } catch (...) {
            // A failed step ends the clock; the dial and the title stay as they were.
        }
        const std::lock_guard end(threadMutex_);
        // The id may go to another thread from now on.
        tid_ = 0;
        running_ = false;
    });
}

void TClocker::Terminate() {
    terminated_ = true;
    waiter_.interrupt();
}

void TClocker::WaitFor() {
    std::thread finishing;
    {
        const std::lock_guard lock(threadMutex_);
        finishing = std::move(thread_);
    }
    if (finishing.joinable() && finishing.get_id() != std::this_thread::get_id())
        finishing.join();
    else if (finishing.joinable())
        finishing.detach();
}

bool TClocker::running() const {
    const std::lock_guard lock(threadMutex_);
    return running_;
}

void TClocker::setPriority(int level) {
    const std::lock_guard lock(threadMutex_);
    level_ = level;
    if (tid_ != 0)
        ThreadPriority::apply(tid_, level_);
}

int TClocker::priority() const {
    const std::lock_guard lock(threadMutex_);
    return level_;
}

pid_t TClocker::threadId() const {
    const std::lock_guard lock(threadMutex_);
    return tid_;
}

void TClocker::Execute() {
    LastSecond = kNotSet;
    int phase = 0; // 0: the date comes next, 1: the time
    LocalTime t = clock_.now();
    LastHour = t.hour;
    LastMinute = t.minute;
    host_.ComposeDial(t.hour, t.minute);
    host_.CheckKinenbi(t.month, t.day);
    int checkedDay = t.day;
    host_.CheckYotei(t.month, t.day, t.hour, t.minute);
    int checkedMinute = t.minute;

    while (!terminated_) {
        t = clock_.now();
        if (t.second == LastSecond) {
            // Wait for the change instead of reading the clock again and again.
            if (!waiter_.waitForNextSecond())
                break;
            continue;
        }
        LastSecond = t.second;
        host_.ShowDial(LastSecond);
        if (terminated_)
            break;
        if (t.second % 10 == 1)
            titleStep(phase);
        if (t.second == 59 || t.minute != LastMinute || t.hour != LastHour) {
            int hour = t.hour;
            int minute = t.minute;
            // At second 59 the image is made for the coming minute, to show from second 0.
            if (t.second == 59 && ++minute == 60) {
                minute = 0;
                hour = (hour + 1) % 24;
            }
            LastHour = hour;
            LastMinute = minute;
            host_.ComposeDial(hour, minute);
        }
        if (t.day != checkedDay) {
            host_.CheckKinenbi(t.month, t.day);
            checkedDay = t.day;
        }
        if (t.minute != checkedMinute) {
            host_.CheckYotei(t.month, t.day, t.hour, t.minute);
            checkedMinute = t.minute;
        }
        if (!waiter_.waitForNextSecond())
            break;
    }
}

void TClocker::titleStep(int& phase) {
    // A fresh reading: the hand-over before may have taken a while.
    const LocalTime now = clock_.now();
    host_.SetApplicationTitle(phase == 0 ? sentences_.dateSentence(now)
                                         : sentences_.timeSentence(now));
    phase = 1 - phase;
}
