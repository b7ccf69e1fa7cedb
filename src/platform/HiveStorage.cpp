#include "platform/HiveStorage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Far beyond anything the program writes; a bigger file is not ours and counts as damaged.
constexpr qsizetype kMaxFileSize = 64 * 1024 * 1024;
// A temporary file this old is left from a save that died; a live save takes milliseconds.
constexpr qint64 kStaleTemporarySeconds = 60;

enum class FileState { Missing, Unreadable, Damaged, Parsed };

struct Inspection {
    FileState state = FileState::Missing;
    HiveFile hive;
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

Inspection inspect(const QString& path) {
    FileDescriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    if (!file.valid())
        return {errno == ENOENT ? FileState::Missing : FileState::Unreadable, {}};
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return {FileState::Unreadable, {}};

    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {FileState::Unreadable, {}};
        if (got == 0)
            break;
        if (bytes.size() + got > kMaxFileSize)
            return {FileState::Damaged, {}};
        bytes.append(buffer, got);
    }
    std::optional<HiveFile> hive = HiveFile::parse(bytes);
    if (!hive)
        return {FileState::Damaged, {}};
    return {FileState::Parsed, std::move(*hive)};
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
    return ::rename(QFile::encodeName(path).constData(),
                    QFile::encodeName(asideName(path)).constData()) == 0;
}

bool writeReplacing(const QString& path, const QByteArray& data) {
    QByteArray temporary = QFile::encodeName(path + QStringLiteral(".tmp-XXXXXX"));
    FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!file.valid())
        return false;
    const bool written = writeAll(file.get(), data) && ::fsync(file.get()) == 0;
    if (!file.close() || !written ||
        ::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

void removeStaleTemporaries(const QFileInfo& file) {
    const QDateTime cutoff = QDateTime::currentDateTimeUtc().addSecs(-kStaleTemporarySeconds);
    const QFileInfoList leftovers =
        file.absoluteDir().entryInfoList({file.fileName() + QStringLiteral(".tmp-??????")},
                                         QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& leftover : leftovers)
        if (leftover.lastModified().toUTC() < cutoff)
            QFile::remove(leftover.absoluteFilePath());
}

// Through a symbolic link the link stays, and the file it points to is the one meant.
QString fileBehind(const QString& path) {
    const QFileInfo link(path);
    return link.isSymLink() && !link.canonicalFilePath().isEmpty() ? link.canonicalFilePath()
                                                                   : path;
}

} // namespace

HiveStorage::HiveStorage(QString filePath) : filePath_(std::move(filePath)) {}

std::optional<HiveFile> HiveStorage::load() const {
    if (filePath_.isEmpty())
        return std::nullopt;
    Inspection found = inspect(filePath_);
    if (found.state == FileState::Unreadable)
        return std::nullopt;
    return std::move(found.hive);
}

bool HiveStorage::save(const HiveFile& hive) const {
    if (filePath_.isEmpty())
        return false;
    const QString path = fileBehind(filePath_);
    const QFileInfo file(path);
    const QString directory = file.absolutePath();

    if (!QDir().mkpath(directory))
        return false;
    switch (inspect(path).state) {
    case FileState::Unreadable:
        return false;
    case FileState::Damaged:
        if (!moveAside(path))
            return false;
        break;
    case FileState::Missing:
    case FileState::Parsed:
        break;
    }

    if (hive.isEmpty()) {
        if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
            return false;
        return syncDirectory(directory);
    }
    if (!writeReplacing(path, hive.serialise()) || !syncDirectory(directory))
        return false;
    removeStaleTemporaries(file);
    return true;
}

QString HiveStorage::keepCopy() const {
    if (filePath_.isEmpty())
        return {};
    const QString path = fileBehind(filePath_);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {};
    // Written as a save writes, so that the copy is whole or not there at all.
    const QString aside = asideName(path);
    if (!writeReplacing(aside, bytes) || !syncDirectory(QFileInfo(path).absolutePath()))
        return {};
    return aside;
}
