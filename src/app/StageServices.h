#pragma once

class Beeper;
class KeyState;
class RandomSource;
class Registry;
class SecondWaiter;
class SoundOutput;
class TimerFactory;
class UiPoster;
class WallClock;

// What her window needs from outside; tests hand in fakes.
struct StageServices {
    Registry& registry;
    const KeyState& keys;
    const WallClock& clock;
    // The clock thread's wait for the next second.
    SecondWaiter& waiter;
    // What the clock thread hands to the user-interface thread.
    UiPoster& uiPoster;
    SoundOutput& sound;
    // The timers of her windows.
    TimerFactory& timers;
    // Her chance smile; seeded while her window is built.
    RandomSource& random;
    Beeper& beeper;
};
