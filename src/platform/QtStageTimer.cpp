#include "platform/QtStageTimer.h"

QtStageTimer::QtStageTimer(int milliseconds) : interval_(milliseconds) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        // A copy: the handler may replace itself.
        const auto handler = handler_;
        if (handler)
            handler();
    });
}

void QtStageTimer::start() {
    if (enabled_)
        return;
    enabled_ = true;
    apply();
}

void QtStageTimer::stop() {
    enabled_ = false;
    apply();
}

void QtStageTimer::setInterval(int milliseconds) {
    if (milliseconds == interval_)
        return;
    interval_ = milliseconds;
    apply();
}

void QtStageTimer::setTimeoutHandler(std::function<void()> handler) {
    handler_ = std::move(handler);
}

void QtStageTimer::apply() {
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}

std::unique_ptr<StageTimer> QtTimerFactory::makeTimer(int milliseconds) {
    return std::make_unique<QtStageTimer>(milliseconds);
}
