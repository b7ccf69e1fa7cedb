#pragma once

#include "platform/Beeper.h"

// Counts the beeps.
class FakeBeeper : public Beeper {
public:
    void beep() override { ++beeps; }
    int beeps = 0;
};
