#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray kRequest = "forward\n";
const QByteArray kAnswer = "ok\n";

// A socket's name must fit sockaddr_un with its terminating zero.
constexpr qsizetype kMaxSocketPath = qsizetype(sizeof(sockaddr_un::sun_path)) - 1;

// The settings file as one name whatever way it is reached: the file a link leads to, its
// folder resolved when it exists.
QString settingsIdentity(const QString& settingsPath) {
    const QFileInfo file(settingsPath);
    const QString target = file.canonicalFilePath();
    if (!target.isEmpty())
        return target;
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? file.absolutePath() : folder) + QLatin1Char('/') + file.fileName();
}

QString errorText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A socket of this user's, so that no other user's program is asked anything.
bool isOwnSocket(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISSOCK(info.st_mode) &&
           info.st_uid == ::getuid();
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

SingleInstance::SingleInstance(const QString& settingsPath, QObject* parent)
    : QObject(parent), settingsName_(settingsIdentity(settingsPath)) {
    const QByteArray hash =
        QCryptographicHash::hash(settingsName_.toUtf8(), QCryptographicHash::Sha256);
    name_ = QString::fromLatin1(hash.toHex().left(16));
}

SingleInstance::~SingleInstance() {
    if (server_) {
        server_->close();
        if (madeFolder_)
            QDir().rmdir(folder_);
    }
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

QString SingleInstance::socketPath() const {
    return folder_ + QLatin1Char('/') + name_ + QStringLiteral(".socket");
}

bool SingleInstance::openLock() {
    lockPath_ = settingsName_ + QStringLiteral(".lock");
    QDir().mkpath(QFileInfo(lockPath_).absolutePath());
    const QByteArray beside = QFile::encodeName(lockPath_);
    lockFd_ = ::open(beside.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    // A lock made before the folder became read-only still locks; flock needs no writing.
    if (lockFd_ < 0)
        lockFd_ = ::open(beside.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (lockFd_ >= 0)
        return true;
    if (!prepareFolder())
        return false;
    lockPath_ = folder_ + QLatin1Char('/') + name_ + QStringLiteral(".lock");
    lockFd_ = ::open(QFile::encodeName(lockPath_).constData(),
                     O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd_ >= 0)
        return true;
    problem_ = QStringLiteral("cannot open %1: %2").arg(lockPath_, errorText());
    return false;
}

bool SingleInstance::prepareFolder() {
    if (!folder_.isEmpty())
        return true;
    const auto fits = [this](const QString& folder) {
        return QFile::encodeName(folder).size() + name_.size() + 8 <= kMaxSocketPath;
    };
    // The runtime folder the session gives, which only the user may enter.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    QString problem;
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) &&
        privateFolder(runtime, false, problem) && fits(runtime + QStringLiteral("/hourling"))) {
        folder_ = runtime + QStringLiteral("/hourling");
        if (privateFolder(folder_, true, problem))
            return true;
    }
    const QString temporary = fits(QDir::tempPath() + QStringLiteral("/hourling-XXXXXXXXXX"))
                                  ? QDir::tempPath()
                                  : QStringLiteral("/tmp");
    folder_ = temporary + QStringLiteral("/hourling-") + QString::number(::getuid());
    if (privateFolder(folder_, true, problem))
        return true;
    // The usual name taken, perhaps by another user: a fresh folder of its own, which the
    // lock file names for later starts.
    QByteArray fresh = QFile::encodeName(temporary) + "/hourling-XXXXXX";
    if (::mkdtemp(fresh.data())) {
        folder_ = QFile::decodeName(fresh);
        madeFolder_ = true;
        return true;
    }
    folder_.clear();
    problem_ = problem;
    return false;
}

SingleInstance::Outcome SingleInstance::claim(int answerMs) {
    if (!openLock())
        return Outcome::Unguarded;
    const QDeadlineTimer deadline(answerMs);
    while (true) {
        if (tryLock()) {
            listen();
            return Outcome::First;
        }
        if (errno != EWOULDBLOCK) {
            problem_ = QStringLiteral("cannot lock %1: %2").arg(lockPath_, errorText());
            return Outcome::Unguarded;
        }
        // The one that holds it may still be on its way to listening, or just ending; the
        // lock is tried again until it answers or the time is up.
        for (const QString& socket : holderSockets())
            if (askForward(socket, deadline))
                return Outcome::AskedForward;
        if (deadline.hasExpired())
            break;
        QThread::msleep(50);
    }
    problem_ = QStringLiteral("another one of her runs on %1 (process %2) but did not answer")
                   .arg(settingsName_)
                   .arg(runningProcess_);
    return Outcome::NoAnswer;
}

bool SingleInstance::tryLock() {
    while (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR)
            return false;
    }
    // The socket's folder is chosen once the lock is held, so that a later start makes none.
    if (!prepareFolder())
        return true;
    const QByteArray note =
        QByteArray::number(qint64(::getpid())) + '\n' + QFile::encodeName(socketPath()) + '\n';
    if (::ftruncate(lockFd_, 0) == 0) [[maybe_unused]]
        const ssize_t written = ::pwrite(lockFd_, note.constData(), size_t(note.size()), 0);
    return true;
}

QStringList SingleInstance::holderSockets() {
    QStringList sockets;
    QFile file(lockPath_);
    if (file.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> lines = file.read(4096).split('\n');
        runningProcess_ = lines.value(0).trimmed().toLongLong();
        const QString written = QFile::decodeName(lines.value(1));
        if (!written.isEmpty())
            sockets << written;
    }
    // A lock file that could not be written to names none.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        const QString own =
            runtime + QStringLiteral("/hourling/") + name_ + QStringLiteral(".socket");
        if (!sockets.contains(own))
            sockets << own;
    }
    sockets.removeIf([](const QString& socket) { return !isOwnSocket(socket); });
    return sockets;
}

void SingleInstance::listen() {
    if (folder_.isEmpty()) {
        problem_ += QStringLiteral("; a later start cannot bring her forward");
        return;
    }
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
        const auto cutOff = [caller] {
            caller->abort();
            caller->deleteLater();
        };
        caller->setReadBufferSize(kMaxRequestBytes);
        connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
        QTimer::singleShot(kIdleCallerMs, caller, cutOff);
        connect(caller, &QLocalSocket::readyRead, this, [this, caller, cutOff] {
            if (!caller->canReadLine()) {
                if (caller->bytesAvailable() >= kMaxRequestBytes)
                    cutOff();
                return;
            }
            if (caller->readLine(kMaxRequestBytes) == kRequest) {
                emit comeForwardRequested();
                caller->write(kAnswer);
                caller->flush();
            }
            caller->disconnectFromServer();
        });
    }
}

bool SingleInstance::askForward(const QString& socketPath, const QDeadlineTimer& deadline) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
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
