// A bare Qt window of her size, the yardstick for her start-up. Built three ways: plain;
// linked with Qt Multimedia but not using it; and making the sound output before the
// window shows, as a voice set up at start would.
#include <QApplication>
#include <QWidget>

#ifdef START_PROBE_AUDIO
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#endif
#ifdef START_PROBE_LINK_MULTIMEDIA
#include <QAudioDevice>
#include <QMediaDevices>
#endif

int main(int argc, char** argv) {
    QApplication app(argc, argv);
#ifdef START_PROBE_AUDIO
    QAudioFormat format;
    format.setSampleRate(22050);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    QAudioSink sink(QMediaDevices::defaultAudioOutput(), format);
#endif
#ifdef START_PROBE_LINK_MULTIMEDIA
    // Referenced only where it never runs, so that the library is loaded and nothing more.
    if (argc > 99)
        QMediaDevices::audioOutputs();
#endif
    QWidget window;
    window.resize(208, 452);
    window.show();
    return app.exec();
}
