#pragma once

#include "platform/RandomSource.h"

#include <deque>

// Draws the numbers the test scripts, then 0, which never makes her smile.
class FakeRandomSource : public RandomSource {
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
