#pragma once

#include "platform/StageTimer.h"

#include <vector>

// Timers on a manual clock: nothing ticks until the test advances time. advance() fires the
// due timers in the order of their due times (timers due at the same moment in the order
// they were made), a repeating timer again one interval after each tick.
class FakeTimeline : public TimerFactory {
public:
    FakeTimeline() = default;
    // Timers made here must be gone before the timeline.
    ~FakeTimeline() override;
    FakeTimeline(const FakeTimeline&) = delete;
    FakeTimeline& operator=(const FakeTimeline&) = delete;

    std::unique_ptr<StageTimer> makeTimer(int milliseconds) override;

    void advance(long long milliseconds);
    long long now() const { return now_; }

private:
    class Timer;
    friend class Timer;

    long long now_ = 0;
    std::vector<Timer*> timers_;
};
