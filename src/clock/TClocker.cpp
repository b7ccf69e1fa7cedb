#include "clock/TClocker.h"

#include "clock/ClockHost.h"
#include "platform/SecondWaiter.h"
#include "platform/ThreadPriority.h"
#include "platform/WallClock.h"

#include <pthread.h>
#include <system_error>
#include <thread>

struct TClocker::Worker {
    std::thread thread;
};

TClocker::TClocker(ClockHost& host, const WallClock& clock, SecondWaiter& waiter,
                   const QLocale& locale)
    : host_(host), clock_(clock), waiter_(waiter), sentences_(locale) {}

TClocker::~TClocker() {
    terminate();
    waitFor();
}

void TClocker::resume() {
    const std::lock_guard lock(threadMutex_);
    if (resumed_ || terminated_)
        return;
    startWorker();
    resumed_ = worker_ != nullptr;
}

void TClocker::startWorker() {
    const unsigned generation = generation_ + 1;
    auto next = std::make_shared<Worker>();
    try {
        // Made here, so that it starts from this thread's level, not from the old one's.
        next->thread = std::thread(&TClocker::work, this, generation, level_, worker_);
    } catch (const std::system_error&) {
        // No thread to be had: the loop goes on where it runs.
        return;
    }
    worker_ = std::move(next);
    generation_ = generation;
    // An old thread that waits for the next second hands over now rather than then.
    waiter_.wake();
}

void TClocker::work(unsigned generation, int level, std::shared_ptr<Worker> previous) {
    ::pthread_setname_np(::pthread_self(), "TClocker");
    const pid_t self = ThreadPriority::currentThreadId();
    ThreadPriority::apply(self, level);
    if (previous) {
        previous->thread.join();
        previous.reset();
    }
    {
        const std::lock_guard lock(threadMutex_);
        if (terminated_)
            ended_ = true;
        // A newer thread has been made meanwhile; it takes over from this one.
        if (ended_ || generation != generation_)
            return;
        tid_ = self;
    }
    LoopEnd end = LoopEnd::Ended;
    try {
        end = runLoop(generation);
    } catch (...) {
        // A failed step ends the clock; the dial and the title stay as they were.
    }
    const std::lock_guard lock(threadMutex_);
    // The id may go to another thread from now on.
    tid_ = 0;
    if (end == LoopEnd::Ended)
        ended_ = true;
}

void TClocker::terminate() {
    terminated_ = true;
    waiter_.interrupt();
}

void TClocker::waitFor() {
    std::shared_ptr<Worker> last;
    {
        const std::lock_guard lock(threadMutex_);
        last = std::move(worker_);
    }
    // The last thread joins the one before it, so joining it joins them all.
    if (!last || !last->thread.joinable())
        return;
    if (last->thread.get_id() == std::this_thread::get_id())
        last->thread.detach();
    else
        last->thread.join();
}

bool TClocker::running() const {
    const std::lock_guard lock(threadMutex_);
    return resumed_ && !ended_;
}

void TClocker::setPriority(int level) {
    const std::lock_guard lock(threadMutex_);
    if (level == level_)
        return;
    level_ = level;
    if (resumed_ && !ended_ && !terminated_)
        startWorker();
}

int TClocker::priority() const {
    const std::lock_guard lock(threadMutex_);
    return level_;
}

pid_t TClocker::threadId() const {
    const std::lock_guard lock(threadMutex_);
    return tid_;
}

void TClocker::execute() {
    runLoop(generation_);
}

TClocker::LoopEnd TClocker::runLoop(unsigned generation) {
    if (!started_) {
        started_ = true;
        lastSecond = kNotSet;
        phase_ = 0;
        const LocalTime t = clock_.now();
        lastHour = t.hour;
        lastMinute = t.minute;
        host_.composeDial(t.hour, t.minute);
        host_.checkKinenbi(t.month, t.day);
        checkedDay_ = t.day;
        host_.checkYotei(t.month, t.day, t.hour, t.minute);
        checkedMinute_ = t.minute;
    }
    while (!terminated_) {
        // Between two passes, the only place where the loop changes threads.
        if (generation != generation_)
            return LoopEnd::HandedOn;
        const LocalTime t = clock_.now();
        // The same second again: wait for the change instead of reading the clock again
        // and again.
        if (t.second != lastSecond && !pass(t))
            break;
        if (!waiter_.waitForNextSecond())
            break;
    }
    return LoopEnd::Ended;
}

bool TClocker::pass(const LocalTime& t) {
    lastSecond = t.second;
    host_.showDial(lastSecond);
    if (terminated_)
        return false;
    if (t.second % 10 == 1)
        titleStep();
    if (t.second == 59 || t.minute != lastMinute || t.hour != lastHour) {
        int hour = t.hour;
        int minute = t.minute;
        // At second 59 the image is made for the coming minute, to show from second 0.
        if (t.second == 59 && ++minute == 60) {
            minute = 0;
            hour = (hour + 1) % 24;
        }
        lastHour = hour;
        lastMinute = minute;
        host_.composeDial(hour, minute);
    }
    if (t.day != checkedDay_) {
        host_.checkKinenbi(t.month, t.day);
        checkedDay_ = t.day;
    }
    if (t.minute != checkedMinute_) {
        host_.checkYotei(t.month, t.day, t.hour, t.minute);
        checkedMinute_ = t.minute;
    }
    return true;
}

void TClocker::titleStep() {
    // A fresh reading: the hand-over before may have taken a while.
    const LocalTime now = clock_.now();
    host_.setApplicationTitle(phase_ == 0 ? sentences_.dateSentence(now)
                                          : sentences_.timeSentence(now));
    phase_ = 1 - phase_;
}
