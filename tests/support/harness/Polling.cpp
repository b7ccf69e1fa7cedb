#include "support/harness/Polling.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace {
void handleEvents(int forMs) {
    if (QCoreApplication::instance() &&
        QThread::currentThread() == QCoreApplication::instance()->thread())
        QCoreApplication::processEvents(QEventLoop::AllEvents, forMs);
}
} // namespace

bool eventually(const std::function<bool()>& condition, int timeoutMs, int intervalMs) {
    QElapsedTimer timer;
    timer.start();
    while (true) {
        if (condition())
            return true;
        if (timer.elapsed() > timeoutMs)
            return false;
        handleEvents(intervalMs);
        QThread::msleep(intervalMs);
    }
}

void processEventsFor(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        handleEvents(5);
        QThread::msleep(1);
    }
}
