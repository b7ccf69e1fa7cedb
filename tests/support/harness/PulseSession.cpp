#include "support/harness/PulseSession.h"

#include "support/harness/XSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cmath>
#include <csignal>

namespace {
QString runtimePath(const QTemporaryDir& dir) {
    return dir.path() + QStringLiteral("/run");
}

bool answers(const QString& address) {
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"),
                {QStringLiteral("--server=") + address, QStringLiteral("info")});
    return pactl.waitForFinished(5000) && pactl.exitStatus() == QProcess::NormalExit &&
           pactl.exitCode() == 0;
}

void signalProcess(QProcess* process, int signal) {
    if (process && process->state() == QProcess::Running)
        ::kill(pid_t(process->processId()), signal);
}

void end(std::unique_ptr<QProcess>& process) {
    if (!process)
        return;
    if (process->state() != QProcess::NotRunning) {
        ::kill(pid_t(process->processId()), SIGCONT);
        process->terminate();
        if (!process->waitForFinished(5000)) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
    process.reset();
}
} // namespace

PulseSession::PulseSession() : dir_(QDir::tempPath() + QStringLiteral("/hourling-pulse-XXXXXX")) {
    for (const char* sub : {"run", "state", "home", "config"})
        QDir(dir_.path()).mkpath(QString::fromLatin1(sub));
}

PulseSession::~PulseSession() {
    end(recorder_);
    end(server_);
    if (usedInThisProcess_) {
        if (hadPreviousServer_)
            qputenv("PULSE_SERVER", previousServer_);
        else
            qunsetenv("PULSE_SERVER");
    }
}

QString PulseSession::address() const {
    return QStringLiteral("unix:") + runtimePath(dir_) + QStringLiteral("/native");
}

void PulseSession::useInThisProcess() {
    if (!usedInThisProcess_) {
        hadPreviousServer_ = qEnvironmentVariableIsSet("PULSE_SERVER");
        previousServer_ = qgetenv("PULSE_SERVER");
        usedInThisProcess_ = true;
    }
    qputenv("PULSE_SERVER", address().toUtf8());
}

bool PulseSession::start() {
    end(server_);
    server_ = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir_.path() + QStringLiteral("/home"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.path() + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimePath(dir_));
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), runtimePath(dir_));
    env.insert(QStringLiteral("PULSE_STATE_PATH"), dir_.path() + QStringLiteral("/state"));
    // Nothing of the desktop the tests run in: no X11 publishing, no session bus.
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("PULSE_SERVER"));
    server_->setProcessEnvironment(env);
    server_->setStandardOutputFile(QProcess::nullDevice());
    server_->setStandardErrorFile(dir_.path() + QStringLiteral("/server.log"), QIODevice::Append);
    const QString socket = runtimePath(dir_) + QStringLiteral("/native");
    server_->start(QStringLiteral("pulseaudio"),
                   {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                    QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
                    QStringLiteral("--realtime=no"), QStringLiteral("--high-priority=no"),
                    QStringLiteral("--log-target=stderr"), QStringLiteral("--log-level=error"),
                    QStringLiteral("-L"),
                    QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket,
                    QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=null")});
    if (!server_->waitForStarted(10000))
        return false;
    return eventually([&] { return server_->state() == QProcess::Running && answers(address()); },
                      30000);
}

void PulseSession::kill() {
    if (!server_)
        return;
    server_->kill();
    server_->waitForFinished(5000);
}

void PulseSession::pause() {
    signalProcess(server_.get(), SIGSTOP);
}

void PulseSession::resume() {
    signalProcess(server_.get(), SIGCONT);
}

bool PulseSession::startRecording() {
    end(recorder_);
    const QString file = dir_.path() + QStringLiteral("/recording.raw");
    QFile::remove(file);
    recorder_ = std::make_unique<QProcess>();
    recorder_->setStandardOutputFile(file);
    recorder_->setStandardErrorFile(QProcess::nullDevice());
    recorder_->start(QStringLiteral("parec"),
                     {QStringLiteral("--server=") + address(),
                      QStringLiteral("--device=null.monitor"), QStringLiteral("--raw"),
                      QStringLiteral("--format=s16le"),
                      QStringLiteral("--rate=%1").arg(kRecordRate), QStringLiteral("--channels=1"),
                      QStringLiteral("--latency-msec=50")});
    if (!recorder_->waitForStarted(10000))
        return false;
    // The monitor delivers silence as soon as the recorder is connected.
    return eventually([&] { return QFileInfo(file).size() > 0; }, 20000);
}

void PulseSession::stopRecording() {
    end(recorder_);
}

QByteArray PulseSession::recording() const {
    QFile file(dir_.path() + QStringLiteral("/recording.raw"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

double PulseSession::recordedSeconds() const {
    return double(QFileInfo(dir_.path() + QStringLiteral("/recording.raw")).size()) / 2 /
           kRecordRate;
}

SoundSpan findSound(QByteArrayView s16Mono, int sampleRate, double fromSeconds) {
    constexpr double kThreshold = 0.01; // -40 dBFS
    const qsizetype frame = sampleRate / 100;
    const qsizetype samples = s16Mono.size() / 2;
    SoundSpan span;
    for (qsizetype start = qsizetype(fromSeconds * sampleRate); start + frame <= samples;
         start += frame) {
        double sum = 0;
        for (qsizetype i = start; i < start + frame; ++i) {
            const double sample = qFromLittleEndian<qint16>(s16Mono.data() + 2 * i) / 32768.0;
            sum += sample * sample;
        }
        if (std::sqrt(sum / double(frame)) < kThreshold)
            continue;
        const double at = double(start) / sampleRate;
        if (!span.heard)
            span.firstSeconds = at;
        span.heard = true;
        span.endSeconds = at + double(frame) / sampleRate;
        span.loudSeconds += double(frame) / sampleRate;
    }
    return span;
}
