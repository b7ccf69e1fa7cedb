#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A wall clock for the program that the test moves while it runs: libfaketime takes its
// offset from a file, read afresh at every reading of the clock. It runs on in real time
// from each moment it is set to; timeouts and sleeps keep real time.
class MovableClock {
public:
    explicit MovableClock(const QDateTime& start);

    bool ok() const { return ok_; }
    // Environment entries for the program; preloaded, so that signals reach it.
    QStringList environment() const;
    // From now on the clock shows this moment and runs on from it.
    bool setNow(const QDateTime& moment);
    bool moveBy(qint64 seconds);

private:
    bool writeOffset();

    QTemporaryDir dir_;
    // Milliseconds ahead of the real clock.
    qint64 offsetMs_ = 0;
    bool ok_ = false;
};
