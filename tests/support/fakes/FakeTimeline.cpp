#include "support/fakes/FakeTimeline.h"

#include <algorithm>
#include <cassert>

class FakeTimeline::Timer : public StageTimer {
public:
    Timer(FakeTimeline& timeline, int milliseconds) : timeline_(timeline), interval_(milliseconds) {
        timeline_.timers_.push_back(this);
    }
    ~Timer() override { std::erase(timeline_.timers_, this); }

    void start() override {
        if (enabled_)
            return;
        enabled_ = true;
        due_ = timeline_.now_ + interval_;
    }
    void stop() override { enabled_ = false; }
    bool isActive() const override { return enabled_; }
    void setInterval(int milliseconds) override {
        if (milliseconds == interval_)
            return;
        interval_ = milliseconds;
        due_ = timeline_.now_ + interval_;
    }
    int interval() const override { return interval_; }
    void setTimeoutHandler(std::function<void()> handler) override {
        handler_ = std::move(handler);
    }

    bool ticking() const { return enabled_ && interval_ > 0; }
    long long due() const { return due_; }
    void tick() {
        due_ = timeline_.now_ + interval_;
        const auto handler = handler_;
        if (handler)
            handler();
    }

private:
    FakeTimeline& timeline_;
    int interval_;
    bool enabled_ = false;
    long long due_ = 0;
    std::function<void()> handler_;
};

FakeTimeline::~FakeTimeline() {
    assert(timers_.empty());
}

std::unique_ptr<StageTimer> FakeTimeline::makeTimer(int milliseconds) {
    return std::make_unique<Timer>(*this, milliseconds);
}

void FakeTimeline::advance(long long milliseconds) {
    const long long end = now_ + milliseconds;
    while (true) {
        // Looked up afresh after every tick: a handler may make, drop or re-time timers.
        Timer* next = nullptr;
        for (Timer* timer : timers_) {
            if (timer->ticking() && timer->due() <= end && (!next || timer->due() < next->due()))
                next = timer;
        }
        if (!next)
            break;
        now_ = std::max(now_, next->due());
        next->tick();
    }
    now_ = end;
}
