#pragma once

#include "platform/KeyState.h"

#include <set>

// Keys held as the test says; none at first.
class FakeKeys : public KeyState {
public:
    std::set<Key> held;
    bool isDown(Key key) const override { return held.count(key) != 0; }
};
