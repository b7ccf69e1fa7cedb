#pragma once

#include "clock/ClockHost.h"

#include <functional>

class QObject;
class UiHandOver;

// The clock thread's host for a program whose dial lives on the user-interface thread:
// the dial calls and the title are handed over in the loop's order, each refresh once the
// calls of the second before have run, and the event checks run on the clock thread.
class UiClockHost : public ClockHost {
public:
    struct Targets {
        std::function<void(int hour, int minute)> composeDial;
        std::function<void(int second)> showDial;
        std::function<void(int month, int day)> checkKinenbi;
        std::function<void(int month, int day, int hour, int minute)> checkYotei;
        std::function<void(const QString& text)> setTitle;
    };

    // The title goes to the thread of the hand-over's context, which must outlive the
    // clock thread.
    UiClockHost(UiHandOver& handOver, QObject* titleContext, Targets targets);

    void composeDial(int hour, int minute) override;
    void showDial(int second) override;
    void checkKinenbi(int month, int day) override;
    void checkYotei(int month, int day, int hour, int minute) override;
    void setApplicationTitle(const QString& text) override;

private:
    UiHandOver& handOver_;
    QObject* titleContext_;
    Targets targets_;
};
