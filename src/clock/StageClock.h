#pragma once

#include "clock/UiClockHost.h"

#include <memory>

class QObject;
class SecondWaiter;
class StagePopupMenu;
class TClocker;
class UiHandOver;
class WallClock;
struct StageSettings;

// The clock thread as her window runs it: made before the first show at the stored level,
// started by the first show alone, dropped to idle while the screen saver runs until the
// dial is next painted, and stopped and joined before the window goes.
class StageClock {
public:
    // The dial calls are handed to the thread of uiContext and waited for there. The
    // priority's menu item is its own.
    StageClock(QObject& uiContext, const WallClock& clock, SecondWaiter& waiter,
               StageSettings& settings, StagePopupMenu& menu, UiClockHost::Targets targets);
    // Stops and joins the thread.
    ~StageClock();
    StageClock(const StageClock&) = delete;
    StageClock& operator=(const StageClock&) = delete;

    // The first show starts the thread; later shows change nothing.
    void resumeOnce();
    // A level applied at once; the stored choice stays as it is.
    void setPriority(int level);
    // The screen saver came on: idle until the dial's next paint.
    void lowerForScreenSaver();
    void dialPainted();
    // Asks the thread to end, lets go of a hand-over it may wait in, and joins it.
    void stop();

    bool prioLowered() const { return prioLowered_; }
    const TClocker& clocker() const { return *clocker_; }

private:
    StageSettings& settings_;
    std::unique_ptr<UiHandOver> handOver_;
    std::unique_ptr<UiClockHost> host_;
    std::unique_ptr<TClocker> clocker_;
    bool prioLowered_ = false;
};
