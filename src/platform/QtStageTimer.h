#pragma once

#include "platform/StageTimer.h"

#include <QTimer>

// A StageTimer on QTimer, which would restart on every setInterval and tick without pause
// at an interval of 0.
class QtStageTimer : public StageTimer {
public:
    explicit QtStageTimer(int milliseconds);

    void start() override;
    void stop() override;
    bool isActive() const override { return enabled_; }
    void setInterval(int milliseconds) override;
    int interval() const override { return interval_; }
    void setTimeoutHandler(std::function<void()> handler) override;

    // Milliseconds to the next tick; -1 when none is due.
    int remainingTime() const { return timer_.remainingTime(); }

private:
    void apply();

    QTimer timer_;
    int interval_;
    bool enabled_ = false;
    std::function<void()> handler_;
};
