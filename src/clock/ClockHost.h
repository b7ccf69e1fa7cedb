#pragma once

#include <QString>

// What the clock thread asks of the rest of the program; every call comes from the clock
// thread. ComposeDial and ShowDial may return before the dial has done them; the dial does
// them in the order asked.
class ClockHost {
public:
    virtual ~ClockHost() = default;
    virtual void ComposeDial(int hour, int minute) = 0;
    virtual void ShowDial(int second) = 0;
    virtual void CheckKinenbi(int month, int day) = 0;
    virtual void CheckYotei(int month, int day, int hour, int minute) = 0;
    virtual void SetApplicationTitle(const QString& text) = 0;
};
