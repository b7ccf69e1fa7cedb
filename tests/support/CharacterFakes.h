#pragma once

#include "platform/Beeper.h"
#include "platform/RandomSource.h"

#include <deque>

// Draws the numbers the test scripts, then 0, which never makes her smile.
class FakeRandom : public RandomSource {
public:
    void seedFromClock() override { ++seeds; }
    int next() override {
        ++draws;
        if (script.empty())
            return 0;
        const int value = script.front();
        script.pop_front();
        return value;
    }

    std::deque<int> script;
    int draws = 0;
    int seeds = 0;
};

// Counts the beeps.
class FakeBeeper : public Beeper {
public:
    void beep() override { ++beeps; }
    int beeps = 0;
};
