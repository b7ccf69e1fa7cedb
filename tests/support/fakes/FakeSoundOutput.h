#pragma once

#include "platform/SoundOutput.h"

#include <vector>

// A sound output that writes down what it is asked. A clip it accepts sounds until the test
// ends it or stop() cuts it off; it refuses another meanwhile, as the real one does.
class FakeSoundOutput : public SoundOutput {
public:
    bool play(const PcmClip& clip) override {
        if (!deviceAvailable || sounding_)
            return false;
        played.push_back(clip);
        sounding_ = true;
        return true;
    }
    void stop() override {
        ++stopCalls;
        sounding_ = false;
    }
    bool isSounding() const override { return sounding_; }

    // The sounding clip reaches its end.
    void finishClip() { sounding_ = false; }

    // False: as with no sound server at all.
    bool deviceAvailable = true;
    std::vector<PcmClip> played;
    int stopCalls = 0;

private:
    bool sounding_ = false;
};
