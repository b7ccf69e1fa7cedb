#pragma once

#include <functional>
#include <memory>

// A repeating timer whose ticks arrive on the user-interface thread, with the toolkit's
// timer behaviour that the windows rely on: changing the interval of a running timer starts
// its countdown again, while setting the same interval, or starting it again, leaves the
// countdown running. An interval of 0 or less never ticks. Use from the user-interface
// thread only.
class StageTimer {
public:
    virtual ~StageTimer() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    // Called at each tick. The handler may stop, restart or re-time the timer.
    virtual void setTimeoutHandler(std::function<void()> handler) = 0;
};

// Makes the timers of the program's windows; tests hand in a timeline of their own.
class TimerFactory {
public:
    virtual ~TimerFactory() = default;
    // Stopped, with the given interval.
    virtual std::unique_ptr<StageTimer> makeTimer(int milliseconds) = 0;
};

class QtTimerFactory : public TimerFactory {
public:
    std::unique_ptr<StageTimer> makeTimer(int milliseconds) override;
};
