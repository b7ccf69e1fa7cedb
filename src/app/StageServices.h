#pragma once

class Beeper;
class KeyState;
class RandomSource;
class Registry;
class SoundOutput;
class TimerFactory;
class WallClock;

// What her window needs from outside; tests hand in fakes.
struct StageServices {
    Registry& registry;
    const KeyState& keys;
    const WallClock& clock;
    SoundOutput& sound;
    // The timers of her windows.
    TimerFactory& timers;
    // Her chance smile; seeded while her window is built.
    RandomSource& random;
    Beeper& beeper;
};
