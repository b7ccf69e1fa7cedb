#include "support/harness/MovableClock.h"

#include <QFile>
#include <QSaveFile>

MovableClock::MovableClock(const QDateTime& start) {
    ok_ = dir_.isValid() && setNow(start);
}

QStringList MovableClock::environment() const {
    return {QStringLiteral("LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1"),
            QStringLiteral("FAKETIME_TIMESTAMP_FILE=") + dir_.filePath(QStringLiteral("offset")),
            QStringLiteral("FAKETIME_NO_CACHE=1"),
            QStringLiteral("FAKETIME_DONT_FAKE_MONOTONIC=1")};
}

bool MovableClock::setNow(const QDateTime& moment) {
    offsetMs_ = QDateTime::currentDateTimeUtc().msecsTo(moment);
    return writeOffset();
}

bool MovableClock::moveBy(qint64 seconds) {
    offsetMs_ += seconds * 1000;
    return writeOffset();
}

bool MovableClock::writeOffset() {
    // Replaced whole: the program reads it at any moment.
    QSaveFile file(dir_.filePath(QStringLiteral("offset")));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray line =
        (offsetMs_ < 0 ? "-" : "+") + QByteArray::number(qAbs(offsetMs_) / 1000.0, 'f', 3) + '\n';
    file.write(line);
    return file.commit();
}
