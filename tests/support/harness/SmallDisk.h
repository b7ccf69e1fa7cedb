#pragma once

#include <QString>
#include <QTemporaryDir>

// A small file system of its own (tmpfs) for one test, which the test can fill: mounting
// needs root, as in CI. Unmounted with the test.
class SmallDisk {
public:
    explicit SmallDisk(qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    // Why there is no such disk here; empty when there is.
    QString unavailable() const { return problem_; }
    QString path() const { return dir_.path(); }

    qint64 freeBytes() const;
    // Takes up all but about this much of its room with a file of its own.
    bool fillLeaving(qint64 bytes);
    // Gives the room back.
    void makeRoom();

private:
    QString fillerPath() const;

    QTemporaryDir dir_;
    QString problem_;
    bool mounted_ = false;
};
