#include "platform/RandomSource.h"

#include <chrono>

void SeededRandomSource::seedFromClock() {
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    std::seed_seq seed{static_cast<unsigned>(ticks), static_cast<unsigned>(ticks >> 32)};
    engine_.seed(seed);
}

int SeededRandomSource::next() {
    // The top 31 of the engine's 32 bits: every value from 0 to the largest int alike.
    return static_cast<int>(engine_() >> 1);
}
