#pragma once

// Whether a key is held at this moment, whatever window has the focus.
class KeyState {
public:
    enum class Key { Shift, Control, Down };
    virtual ~KeyState() = default;
    virtual bool isDown(Key key) const = 0;
};

// Modifiers from the window system's pointer state; other keys from the X server's key map.
class X11KeyState : public KeyState {
public:
    bool isDown(Key key) const override;
};
