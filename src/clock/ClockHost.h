#pragma once

#include <QString>

// What the clock thread asks of the rest of the program; every call comes from the clock
// thread. composeDial and showDial may return before the dial has done them; the dial does
// them in the order asked.
class ClockHost {
public:
    virtual ~ClockHost() = default;
    virtual void composeDial(int hour, int minute) = 0;
    virtual void showDial(int second) = 0;
    virtual void checkKinenbi(int month, int day) = 0;
    virtual void checkYotei(int month, int day, int hour, int minute) = 0;
    virtual void setApplicationTitle(const QString& text) = 0;
};
