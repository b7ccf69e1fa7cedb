#include "platform/HiveStorage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Far beyond anything the program writes; a bigger file is not ours and counts as damaged.
constexpr qsizetype kMaxFileSize = 64 * 1024 * 1024;
// As the kernel gives up following symbolic links.
constexpr int kMaxLinkHops = 40;
constexpr int kTemporaryAttempts = 3;

enum class FileState { Missing, Unreadable, TooBig, Read };

struct Inspection {
    FileState state = FileState::Missing;
    QByteArray bytes;
    HiveReading reading;
    struct stat info {};
};

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

size_t digest(const QByteArray& bytes) {
    return qHash(bytes, 0);
}

QString errorText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

Inspection inspect(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    Inspection found;
    // Only a regular file is opened: a FIFO would block the open until a writer came, and a
    // device may act on being opened.
    if (::stat(name.constData(), &found.info) != 0) {
        found.state = errno == ENOENT ? FileState::Missing : FileState::Unreadable;
        return found;
    }
    found.state = FileState::Unreadable;
    if (!S_ISREG(found.info.st_mode))
        return found;
    FileDescriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.valid() || ::fstat(file.get(), &found.info) != 0 || !S_ISREG(found.info.st_mode))
        return found;

    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return found;
        if (got == 0)
            break;
        if (found.bytes.size() + got > kMaxFileSize) {
            found.state = FileState::TooBig;
            found.bytes.clear();
            return found;
        }
        found.bytes.append(buffer, got);
    }
    found.reading = HiveFile::read(found.bytes);
    found.state = FileState::Read;
    return found;
}

bool writeAll(int fd, const QByteArray& data) {
    const char* next = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        next += written;
        left -= written;
    }
    return true;
}

// Makes a rename or removal in the directory durable.
bool syncDirectory(const QString& directory) {
    FileDescriptor dir(
        ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid())
        return false;
    // Some file systems cannot sync a directory; the rename is then as durable as it gets.
    return ::fsync(dir.get()) == 0 || errno == EINVAL;
}

// A free name beside the file for a copy kept aside.
QString asideName(const QString& path) {
    const QString stem =
        path + QStringLiteral(".bad-") +
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString aside = stem;
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
        aside = stem + u'-' + QString::number(n);
    return aside;
}

bool moveAside(const QString& path) {
    const QString aside = asideName(path);
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) != 0)
        return false;
    qWarning("hourling: the settings file as it was is kept in %s",
             qPrintable(QDir::toNativeSeparators(aside)));
    return true;
}

// A temporary file is locked for as long as its save runs, so that one found unlocked is
// known to be left from a save that died. The descriptor; -1 on failure.
int createTemporary(const QByteArray& target, QByteArray& name) {
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        name = target + ".tmp-XXXXXX";
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0)
            return -1;
        // A start removing leftovers may have taken the name before the lock was held.
        struct stat info {};
        if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &info) != 0 || info.st_nlink > 0)
            return fd;
        ::close(fd);
    }
    errno = EAGAIN;
    return -1;
}

// The new file takes the old one's owner and mode, as far as this process may give them.
// Whether it took them all.
bool takeOwnerAndMode(int fd, const struct stat& old) {
    struct stat mine {};
    if (::fstat(fd, &mine) != 0)
        return false;
    bool taken = true;
    if ((mine.st_uid != old.st_uid || mine.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0) {
        // Without the right to give the file away, its group may still be one of ours.
        taken = ::fchown(fd, uid_t(-1), old.st_gid) == 0 && mine.st_uid == old.st_uid;
    }
    return ::fchmod(fd, old.st_mode & 07777) == 0 && taken;
}

bool writeReplacing(const QString& path, const QByteArray& data, const struct stat* old) {
    const QByteArray target = QFile::encodeName(path);
    QByteArray temporary;
    FileDescriptor file(createTemporary(target, temporary));
    if (!file.valid())
        return false;
    if (old)
        takeOwnerAndMode(file.get(), *old);
    // Renamed while still locked, so that no start takes it for a leftover.
    if (!writeAll(file.get(), data) || ::fsync(file.get()) != 0 ||
        ::rename(temporary.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        errno = error;
        return false;
    }
    file.close();
    return true;
}

QString copyAside(const QString& path, const QByteArray& bytes) {
    // Written as a save writes, so that the copy is whole or not there at all.
    const QString aside = asideName(path);
    if (!writeReplacing(aside, bytes, nullptr) || !syncDirectory(QFileInfo(path).absolutePath()))
        return {};
    return aside;
}

// Temporary files of saves and copies beside the file that no live save holds locked.
void removeLeftTemporaries(const QString& path) {
    const QFileInfo file(path);
    const QDir directory = file.absoluteDir();
    const QStringList patterns = {file.fileName() + QStringLiteral(".tmp-??????"),
                                  file.fileName() + QStringLiteral(".bad-*.tmp-??????")};
    const QStringList leftovers =
        directory.entryList(patterns, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& leftover : leftovers) {
        const QByteArray name = QFile::encodeName(directory.filePath(leftover));
        FileDescriptor found(
            ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat info {};
        if (found.valid() && ::fstat(found.get(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::flock(found.get(), LOCK_EX | LOCK_NB) == 0)
            ::unlink(name.constData());
    }
}

// Through symbolic links, also to a target that does not exist yet: the links stay, and the
// file they lead to is the one meant.
QString fileBehind(const QString& path) {
    QByteArray current = QFile::encodeName(path);
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            return QFile::decodeName(current);
        QByteArray target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(current.constData(), target.data(), size_t(PATH_MAX));
        if (length <= 0 || length >= PATH_MAX)
            break;
        target.truncate(length);
        if (!target.startsWith('/'))
            target.prepend(current.left(current.lastIndexOf('/') + 1));
        current = target;
    }
    // A loop of links: opening it fails, and that is the answer.
    return path;
}

void tellUnreadLines(const QString& path, const HiveReading& reading) {
    const QByteArray name = QFile::encodeName(QDir::toNativeSeparators(path));
    for (const HiveProblem& problem : reading.problems)
        qWarning("hourling: %s line %lld skipped: %s", name.constData(),
                 static_cast<long long>(problem.line), qPrintable(problem.reason));
    if (reading.skippedLines > reading.problems.size())
        qWarning("hourling: %s: %lld more lines skipped", name.constData(),
                 static_cast<long long>(reading.skippedLines - reading.problems.size()));
}

} // namespace

HiveStorage::HiveStorage(QString filePath) : filePath_(std::move(filePath)) {}

std::optional<HiveFile> HiveStorage::load() {
    if (filePath_.isEmpty())
        return std::nullopt;
    const QString path = fileBehind(filePath_);
    if (!leftoversRemoved_) {
        leftoversRemoved_ = true;
        removeLeftTemporaries(path);
    }
    Inspection found = inspect(path);
    switch (found.state) {
    case FileState::Unreadable:
        return std::nullopt;
    case FileState::Missing:
    case FileState::TooBig:
        return HiveFile();
    case FileState::Read:
        break;
    }
    if (!found.reading.whole() && toldOf_ != digest(found.bytes)) {
        toldOf_ = digest(found.bytes);
        tellUnreadLines(path, found.reading);
    }
    return std::move(found.reading.hive);
}

bool HiveStorage::save(const HiveFile& hive) {
    if (filePath_.isEmpty())
        return false;
    const QString path = fileBehind(filePath_);
    const QFileInfo file(path);
    const QString directory = file.absolutePath();

    if (!QDir().mkpath(directory))
        return false;
    const Inspection old = inspect(path);
    switch (old.state) {
    case FileState::Unreadable:
        return false;
    case FileState::TooBig:
        if (!moveAside(path))
            return false;
        break;
    case FileState::Missing:
        copyOwed_ = false;
        break;
    case FileState::Read:
        if ((copyOwed_ || !old.reading.whole()) && keptOf_ != digest(old.bytes)) {
            const QString aside = copyAside(path, old.bytes);
            if (!aside.isEmpty()) {
                keptOf_ = digest(old.bytes);
                qWarning("hourling: the settings file as it was is kept in %s",
                         qPrintable(QDir::toNativeSeparators(aside)));
            } else if (!old.reading.hive.isEmpty() || !moveAside(path)) {
                // A move needs no room, but leaves no file in place should the write fail:
                // only a file with nothing readable in it may go that way.
                qWarning("hourling: %s could not be copied aside (%s), so it is left as it is",
                         qPrintable(QDir::toNativeSeparators(path)), qPrintable(errorText()));
                return false;
            }
        }
        copyOwed_ = false;
        break;
    }

    if (hive.isEmpty()) {
        if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
            return false;
        return syncDirectory(directory);
    }
    const struct stat* previous = old.state == FileState::Read ? &old.info : nullptr;
    return writeReplacing(path, hive.serialise(), previous) && syncDirectory(directory);
}

QString HiveStorage::keepCopy() {
    if (filePath_.isEmpty())
        return {};
    const QString path = fileBehind(filePath_);
    const Inspection found = inspect(path);
    if (found.state != FileState::Read) {
        copyOwed_ = found.state == FileState::Unreadable;
        return {};
    }
    const QString aside = copyAside(path, found.bytes);
    if (aside.isEmpty()) {
        copyOwed_ = true;
        qWarning("hourling: %s could not be copied aside (%s); it is not written over until it "
                 "can be",
                 qPrintable(QDir::toNativeSeparators(path)), qPrintable(errorText()));
        return {};
    }
    keptOf_ = digest(found.bytes);
    copyOwed_ = false;
    return aside;
}
