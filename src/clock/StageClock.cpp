#include "clock/StageClock.h"

#include "clock/TClocker.h"
#include "clock/UiHandOver.h"
#include "platform/SecondWaiter.h"
#include "shared/StageSettings.h"
#include "stage/MenuItem.h"

namespace {
// Each item's value is the level it sets.
constexpr MenuItem::Choice kPriorities[] = {
    {"MIThreadPrio1", QT_TRANSLATE_NOOP("StagePopupMenu", "アイドル時のみ"), 0},
    {"MIThreadPrio2", QT_TRANSLATE_NOOP("StagePopupMenu", "最低"), 1},
    {"MIThreadPrio3", QT_TRANSLATE_NOOP("StagePopupMenu", "低"), 2},
    {"MIThreadPrio4", QT_TRANSLATE_NOOP("StagePopupMenu", "通常"), 3},
    {"MIThreadPrio5", QT_TRANSLATE_NOOP("StagePopupMenu", "高"), 4},
    {"MIThreadPrio6", QT_TRANSLATE_NOOP("StagePopupMenu", "最高"), 5},
};
} // namespace

StageClock::StageClock(QObject& uiContext, const WallClock& clock, SecondWaiter& waiter,
                       StageSettings& settings, StagePopupMenu& menu, UiClockHost::Targets targets)
    : settings_(settings), handOver_(std::make_unique<UiHandOver>(&uiContext)),
      host_(std::make_unique<UiClockHost>(*handOver_, &uiContext, std::move(targets))) {
    MenuItem::choice(menu, "MIThreadPriority",
                     QT_TRANSLATE_NOOP("StagePopupMenu", "スレッドの使用頻度"), kPriorities,
                     settings_.ThreadPrio, [this] { setPriority(settings_.ThreadPrio); });
    clocker_ = std::make_unique<TClocker>(*host_, clock, waiter);
    clocker_->setPriority(settings_.ThreadPrio);
}

StageClock::~StageClock() {
    stop();
}

void StageClock::resumeOnce() {
    if (clocker_->lastHour == TClocker::kNotSet)
        clocker_->resume();
}

void StageClock::setPriority(int level) {
    clocker_->setPriority(level);
}

void StageClock::lowerForScreenSaver() {
    setPriority(0);
    prioLowered_ = true;
}

void StageClock::dialPainted() {
    if (!prioLowered_)
        return;
    setPriority(settings_.ThreadPrio);
    prioLowered_ = false;
}

void StageClock::stop() {
    clocker_->terminate();
    // It may be waiting for the user-interface thread to run its dial call.
    handOver_->cancel();
    clocker_->waitFor();
}
