#pragma once

#include "shared/Voice.h"

#include <QByteArrayView>
#include <functional>

class SoundOutput;

// Her voice on the sound output. Clips that cannot be played are silent; nothing is ever
// reported.
class VoicePlayer : public Voice {
public:
    // A clip's whole RIFF/WAVE image by name, valid for the program's lifetime; empty when
    // there is none.
    using ClipSource = std::function<QByteArrayView(const QString& name)>;

    // Clips come from the program's own assets unless a source is given.
    explicit VoicePlayer(SoundOutput& output, ClipSource clips = {});

    bool playVoice(const QString& name) override;
    void stopVoice() override;

private:
    SoundOutput& output_;
    ClipSource clips_;
};
