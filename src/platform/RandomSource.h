#pragma once

#include <random>

// Pseudo-random numbers for her moods. Use from the user-interface thread only.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Starts the sequence afresh from the current time.
    virtual void seedFromClock() = 0;
    // A number from 0 to the largest int.
    virtual int next() = 0;
};

class SeededRandomSource : public RandomSource {
public:
    explicit SeededRandomSource(unsigned seed = std::mt19937::default_seed) : engine_(seed) {}
    void seedFromClock() override;
    int next() override;

private:
    std::mt19937 engine_;
};
