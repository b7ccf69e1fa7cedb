#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A private PulseAudio server for one test, with a null sink whose monitor can be recorded.
// It keeps its runtime, state and home folders to itself, never exits when idle, and is
// stopped with the session. Until start() there is no server at its address, which makes
// it stand for "no sound server" too.
class PulseSession {
public:
    PulseSession();
    ~PulseSession();
    PulseSession(const PulseSession&) = delete;
    PulseSession& operator=(const PulseSession&) = delete;

    // Starts the server (again, after kill()) and waits until it answers.
    bool start();
    // As a crash: the server is gone at once, without a goodbye to its clients.
    void kill();
    // A server that stops answering, and one that answers again.
    void pause();
    void resume();

    QString address() const;
    // Points this process's sound clients at this session until the session ends.
    void useInThisProcess();

    // Records what the null sink plays, as 16-bit mono at kRecordRate, from now on.
    static constexpr int kRecordRate = 22050;
    bool startRecording();
    void stopRecording();
    QByteArray recording() const;
    double recordedSeconds() const;

private:
    QTemporaryDir dir_;
    std::unique_ptr<QProcess> server_;
    std::unique_ptr<QProcess> recorder_;
    QByteArray previousServer_;
    bool hadPreviousServer_ = false;
    bool usedInThisProcess_ = false;
};

// Where a recording (or a clip) is loud: its 10 ms frames above -40 dBFS.
struct SoundSpan {
    bool heard = false;
    double firstSeconds = 0;
    // The end of the last loud frame.
    double endSeconds = 0;
    double loudSeconds = 0;
    double length() const { return endSeconds - firstSeconds; }
};
SoundSpan findSound(QByteArrayView s16Mono, int sampleRate, double fromSeconds = 0);
