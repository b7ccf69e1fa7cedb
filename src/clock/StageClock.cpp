#include "clock/StageClock.h"

#include "clock/TClocker.h"
#include "clock/UiHandOver.h"
#include "platform/SecondWaiter.h"
#include "shared/StageSettings.h"
#include "stage/StagePopupMenu.h"

#include <QAction>

StageClock::StageClock(QObject& uiContext, const WallClock& clock, StageSettings& settings,
                       QActionGroup& priorityItems, UiClockHost::Targets targets)
    : settings_(settings), priorityItems_(priorityItems),
      handOver_(std::make_unique<UiHandOver>(&uiContext)),
      waiter_(std::make_unique<SystemSecondWaiter>()),
      host_(std::make_unique<UiClockHost>(*handOver_, &uiContext, std::move(targets))) {
    // None is checked when the stored level is not one of the six.
    StagePopupMenu::checkItemWithTag(priorityItems_, settings_.ThreadPrio);
    clocker_ = std::make_unique<TClocker>(*host_, clock, *waiter_);
    clocker_->setPriority(settings_.ThreadPrio);
}

StageClock::~StageClock() {
    stop();
}

void StageClock::resumeOnce() {
    if (clocker_->lastHour == TClocker::kNotSet)
        clocker_->resume();
}

void StageClock::MIThreadPrio6Click(QAction* item) {
    settings_.ThreadPrio = StagePopupMenu::tagOf(*item);
    item->setChecked(true);
    setPriority(settings_.ThreadPrio);
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
