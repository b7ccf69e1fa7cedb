#pragma once

class KeyState;
class Registry;
class WallClock;

// What her window needs from outside; tests hand in fakes.
struct StageServices {
    Registry& registry;
    const KeyState& keys;
    const WallClock& clock;
};
