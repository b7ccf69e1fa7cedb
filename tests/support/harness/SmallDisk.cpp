#include "support/harness/SmallDisk.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

SmallDisk::SmallDisk(qint64 bytes) {
    if (::geteuid() != 0) {
        problem_ = QStringLiteral("mounting a small disk needs root");
        return;
    }
    if (!dir_.isValid()) {
        problem_ = QStringLiteral("no folder to mount it on");
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0,
                options.constData()) != 0) {
        problem_ =
            QStringLiteral("cannot mount a tmpfs: ") + QString::fromLocal8Bit(strerror(errno));
        return;
    }
    mounted_ = true;
}

SmallDisk::~SmallDisk() {
    if (mounted_)
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

qint64 SmallDisk::freeBytes() const {
    struct statvfs info {};
    if (::statvfs(QFile::encodeName(dir_.path()).constData(), &info) != 0)
        return -1;
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}

QString SmallDisk::fillerPath() const {
    return dir_.filePath(QStringLiteral(".filler"));
}

bool SmallDisk::fillLeaving(qint64 bytes) {
    QFile filler(fillerPath());
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray block(4096, 'x');
    // Pages go whole: stop once less than a page more than asked is left.
    while (freeBytes() - block.size() >= bytes) {
        if (filler.write(block) != block.size() || !filler.flush())
            return false;
    }
    return true;
}

void SmallDisk::makeRoom() {
    QFile::remove(fillerPath());
}
