// How long starting and stopping a clip holds the calling thread (the user-interface thread
// in the program), with the sound server that PULSE_SERVER names.
//   voice_start_bench [rounds]
#include "platform/PulseSoundOutput.h"
#include "stage/AssetCatalogue.h"
#include "voice/WaveImage.h"

#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(double(values.size()) * share))];
}
} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    const auto wave = WaveImage::parse(AssetCatalogue::clip(QStringLiteral("Snd_Jikan1")));
    if (!wave) {
        std::fprintf(stderr, "no clip\n");
        return 1;
    }
    const PcmClip clip{wave->channels, wave->sampleRate, wave->bitsPerSample, wave->samples};
    PulseSoundOutput output;
    std::vector<double> plays;
    std::vector<double> stops;
    int started = 0;
    QElapsedTimer timer;
    for (int round = 0; round < rounds; ++round) {
        timer.start();
        started += output.play(clip);
        plays.push_back(double(timer.nsecsElapsed()) / 1e6);
        QThread::msleep(30);
        timer.start();
        output.stop();
        stops.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("play: first %.2f ms, p50 %.2f ms, p99 %.2f ms, max %.2f ms; started %d of %d; "
                "stop: max %.2f ms\n",
                plays.front(), percentile(plays, 0.5), percentile(plays, 0.99),
                *std::max_element(plays.begin(), plays.end()), started, rounds,
                *std::max_element(stops.begin(), stops.end()));
    return 0;
}
