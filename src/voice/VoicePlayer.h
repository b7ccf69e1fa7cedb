#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>

class SoundOutput;

// Her voice: the program's clips by name, one at a time, on the sound output. Clips that
// cannot be played are silent; nothing is ever reported.
class VoicePlayer {
public:
    // A clip's whole RIFF/WAVE image by name, valid for the program's lifetime; empty when
    // there is none.
    using ClipSource = std::function<QByteArrayView(const QString& name)>;

    // Clips come from the program's own assets unless a source is given.
    explicit VoicePlayer(SoundOutput& output, ClipSource clips = {});

    // Starts the clip in the background: true when it started. The empty name plays nothing
    // and leaves a sounding clip alone; a clip asked for while one sounds is dropped.
    bool PlayVoice(const QString& name);
    // Cuts off the clip that sounds, if any.
    void StopVoice();

private:
    SoundOutput& output_;
    ClipSource clips_;
};
