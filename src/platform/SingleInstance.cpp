#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kRequest = "forward\n";
const QByteArray kAnswer = "ok\n";

// The settings file as one name whatever way it is reached: its folder resolved when it
// exists.
QString settingsIdentity(const QString& settingsPath) {
    const QFileInfo file(settingsPath);
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? file.absolutePath() : folder) + QLatin1Char('/') + file.fileName();
}

// A folder that only this user can enter: made when missing, refused when it belongs to
// another user, is a link or lets others in.
bool privateFolder(const QString& path, bool create, QString& problem) {
    const QByteArray native = QFile::encodeName(path);
    if (create && ::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        problem = QStringLiteral("cannot make %1: %2")
                      .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0) {
        problem = QStringLiteral("cannot read %1: %2")
                      .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid() || (info.st_mode & 077) != 0) {
        problem = QStringLiteral("%1 is not a private folder of this user's").arg(path);
        return false;
    }
    return true;
}

} // namespace

SingleInstance::SingleInstance(const QString& settingsPath, QObject* parent) : QObject(parent) {
    const QByteArray hash = QCryptographicHash::hash(settingsIdentity(settingsPath).toUtf8(),
                                                     QCryptographicHash::Sha256);
    name_ = QString::fromLatin1(hash.toHex().left(16));
}

SingleInstance::~SingleInstance() {
    if (server_)
        server_->close();
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

QString SingleInstance::lockPath() const {
    return folder_ + QLatin1Char('/') + name_ + QStringLiteral(".lock");
}

QString SingleInstance::socketPath() const {
    return folder_ + QLatin1Char('/') + name_ + QStringLiteral(".socket");
}

bool SingleInstance::prepareFolder() {
    // The runtime folder the session gives, which only the user may enter.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    QString problem;
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) &&
        privateFolder(runtime, false, problem)) {
        folder_ = runtime + QStringLiteral("/hourling");
        if (privateFolder(folder_, true, problem))
            return true;
    }
    folder_ = QDir::tempPath() + QStringLiteral("/hourling-") + QString::number(::getuid());
    if (privateFolder(folder_, true, problem))
        return true;
    problem_ = problem;
    return false;
}

SingleInstance::Outcome SingleInstance::claim(int answerMs) {
    if (!prepareFolder())
        return Outcome::Unguarded;
    lockFd_ = ::open(QFile::encodeName(lockPath()).constData(),
                     O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd_ < 0) {
        problem_ = QStringLiteral("cannot open %1: %2")
                       .arg(lockPath(), QString::fromLocal8Bit(std::strerror(errno)));
        return Outcome::Unguarded;
    }
    const QDeadlineTimer deadline(answerMs);
    while (true) {
        if (tryLock()) {
            listen();
            return Outcome::First;
        }
        if (errno != EWOULDBLOCK) {
            problem_ = QStringLiteral("cannot lock %1: %2")
                           .arg(lockPath(), QString::fromLocal8Bit(std::strerror(errno)));
            return Outcome::Unguarded;
        }
        // The one that holds it may still be on its way to listening, or just ending; the
        // lock is tried again until it answers or the time is up.
        if (askForward(deadline))
            return Outcome::AskedForward;
        if (deadline.hasExpired())
            break;
        QThread::msleep(50);
    }
    QFile file(lockPath());
    if (file.open(QIODevice::ReadOnly))
        runningProcess_ = file.readLine().trimmed().toLongLong();
    problem_ = QStringLiteral("another one of her runs (process %1) but did not answer")
                   .arg(runningProcess_);
    return Outcome::NoAnswer;
}

bool SingleInstance::tryLock() {
    while (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR)
            return false;
    }
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::ftruncate(lockFd_, 0) == 0) [[maybe_unused]]
        const ssize_t written = ::pwrite(lockFd_, pid.constData(), pid.size(), 0);
    return true;
}

void SingleInstance::listen() {
    // A socket left by one that was killed answers nobody; it is replaced.
    QLocalServer::removeServer(socketPath());
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(socketPath())) {
        problem_ =
            QStringLiteral("cannot answer at %1: %2").arg(socketPath(), server_->errorString());
        return;
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::answer);
}

void SingleInstance::answer() {
    while (QLocalSocket* caller = server_->nextPendingConnection()) {
        connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
        connect(caller, &QLocalSocket::readyRead, this, [this, caller] {
            if (!caller->canReadLine())
                return;
            if (caller->readLine() == kRequest) {
                emit comeForwardRequested();
                caller->write(kAnswer);
                caller->flush();
            }
            caller->disconnectFromServer();
        });
    }
}

bool SingleInstance::askForward(const QDeadlineTimer& deadline) {
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(int(std::min<qint64>(deadline.remainingTime(), 1000))))
        return false;
    // Once it has the question, the answer is awaited as long as the time allows: a busy
    // one answers when its event loop is free again.
    socket.write(kRequest);
    if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
        return false;
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    return socket.readLine() == kAnswer;
}
