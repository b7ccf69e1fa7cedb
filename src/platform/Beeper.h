#pragma once

// The system's default beep.
class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

class QtBeeper : public Beeper {
public:
    void beep() override;
};
