#include "app/SaveOnChange.h"

#include "platform/StageTimer.h"

SaveOnChange::SaveOnChange(TimerFactory& timers, const StageSettings& saved,
                           std::function<StageSettings()> current,
                           std::function<bool(const StageSettings&)> save)
    : current_(std::move(current)), save_(std::move(save)), timer_(timers.makeTimer(kDelayMs)),
      lastSaved_(saved) {
    timer_->setTimeoutHandler([this] { saveNow(); });
}

SaveOnChange::~SaveOnChange() = default;

void SaveOnChange::changed() {
    // A countdown already running takes this change along.
    if (!timer_->isActive())
        timer_->start();
}

void SaveOnChange::savedElsewhere(const StageSettings& saved) {
    timer_->stop();
    lastSaved_ = saved;
}

bool SaveOnChange::isOwed() const {
    return timer_->isActive();
}

void SaveOnChange::saveNow() {
    timer_->stop();
    const StageSettings record = current_();
    // A failed save is tried again at the next change, not by a timer that would wake on.
    if (record != lastSaved_ && save_(record))
        lastSaved_ = record;
}
