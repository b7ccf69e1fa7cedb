#include "voice/VoicePlayer.h"

#include "platform/SoundOutput.h"
#include "stage/AssetCatalogue.h"
#include "voice/WaveImage.h"

VoicePlayer::VoicePlayer(SoundOutput& output, ClipSource clips)
    : output_(output), clips_(clips ? std::move(clips) : ClipSource(&AssetCatalogue::clip)) {}

bool VoicePlayer::playVoice(const QString& name) {
    if (name.isEmpty())
        return false;
    const auto wave = WaveImage::parse(clips_(name));
    if (!wave)
        return false;
    return output_.play(
        PcmClip{wave->channels, wave->sampleRate, wave->bitsPerSample, wave->samples});
}

void VoicePlayer::stopVoice() {
    output_.stop();
}
