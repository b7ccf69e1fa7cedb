#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
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

// A socket that blocks nothing, with its address; -1 also for a path too long for one, as
// the lock file may name.
int localSocket(const QString& path, sockaddr_un& address) {
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty() || native.size() > kMaxSocketPath) {
        errno = ENAMETOOLONG;
        return -1;
    }
    address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

// Waits for the descriptor to become ready for the events until the deadline.
bool waitFor(int fd, short events, const QDeadlineTimer& deadline) {
    while (true) {
        pollfd one{fd, events, 0};
        const int ready = ::poll(&one, 1, int(std::max<qint64>(deadline.remainingTime(), 0)));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
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
    if (serverFd_ >= 0) {
        delete server_;
        ::close(serverFd_);
        ::unlink(QFile::encodeName(socketPath()).constData());
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
    const QByteArray path = QFile::encodeName(socketPath());
    ::unlink(path.constData());
    sockaddr_un address;
    const int fd = localSocket(socketPath(), address);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(path.constData(), 0600) != 0 || ::listen(fd, 16) != 0) {
        problem_ = QStringLiteral("cannot answer at %1: %2").arg(socketPath(), errorText());
        if (fd >= 0)
            ::close(fd);
        return;
    }
    serverFd_ = fd;
    server_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(server_, &QSocketNotifier::activated, this, &SingleInstance::answer);
}

void SingleInstance::answer() {
    while (true) {
        const int fd = ::accept4(serverFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return;
        }
        // Each caller is an object of its own, so that its end, whichever way it comes,
        // closes its descriptor once.
        auto* caller = new QObject(this);
        auto* heard = new QSocketNotifier(fd, QSocketNotifier::Read, caller);
        connect(caller, &QObject::destroyed, [fd] { ::close(fd); });
        const auto cutOff = [caller, heard] {
            heard->setEnabled(false);
            caller->deleteLater();
        };
        QTimer::singleShot(kIdleCallerMs, caller, cutOff);
        auto line = std::make_shared<QByteArray>();
        connect(heard, &QSocketNotifier::activated, caller, [this, fd, line, cutOff] {
            char bytes[kMaxRequestBytes];
            const ssize_t got = ::read(fd, bytes, size_t(kMaxRequestBytes - line->size()));
            if (got < 0 && (errno == EINTR || errno == EAGAIN))
                return;
            if (got > 0)
                line->append(bytes, got);
            const qsizetype end = line->indexOf('\n');
            if (end < 0 && got > 0 && line->size() < kMaxRequestBytes)
                return;
            if (end >= 0 && line->first(end + 1) == kRequest) {
                emit comeForwardRequested();
                [[maybe_unused]] const ssize_t sent =
                    ::send(fd, kAnswer.constData(), size_t(kAnswer.size()), MSG_NOSIGNAL);
            }
            cutOff();
        });
    }
}

bool SingleInstance::askForward(const QString& socketPath, const QDeadlineTimer& deadline) {
    sockaddr_un address;
    const int fd = localSocket(socketPath, address);
    if (fd < 0)
        return false;
    const auto closeAfter = qScopeGuard([fd] { ::close(fd); });
    // A local socket connects at once or not at all; one whose queue is full is asked again.
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return false;
    // Once it has the question, the answer is awaited as long as the time allows: a busy
    // one answers when its event loop is free again.
    if (::send(fd, kRequest.constData(), size_t(kRequest.size()), MSG_NOSIGNAL) !=
        ssize_t(kRequest.size()))
        return false;
    QByteArray answer;
    while (!answer.contains('\n') && answer.size() < kAnswer.size()) {
        if (!waitFor(fd, POLLIN, deadline))
            return false;
        char bytes[8];
        const ssize_t got = ::read(fd, bytes, sizeof bytes);
        if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN))
            return false;
        if (got > 0)
            answer.append(bytes, got);
    }
    return answer == kAnswer;
}
