#pragma once

#include "platform/SoundOutput.h"

#include <memory>

// Clips played through the desktop's sound server: PulseAudio, or PipeWire's server for
// PulseAudio clients. The server's own thread loop feeds the clip's bytes in place. A server
// that was missing, has died or was restarted is looked for again at the next clip; one
// that stops answering holds a clip for at most its length and a few seconds more. The
// library and the loop's thread come at the first clip; without the library she is silent.
class PulseSoundOutput : public SoundOutput {
public:
    PulseSoundOutput();
    // Cuts off the clip and stops the loop's thread.
    ~PulseSoundOutput() override;
    PulseSoundOutput(const PulseSoundOutput&) = delete;
    PulseSoundOutput& operator=(const PulseSoundOutput&) = delete;

    bool play(const PcmClip& clip) override;
    void stop() override;
    bool isSounding() const override;

private:
    class Connection;
    std::unique_ptr<Connection> connection_;
};
