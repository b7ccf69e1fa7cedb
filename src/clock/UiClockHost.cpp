#include "clock/UiClockHost.h"

#include "clock/RepaintTrace.h"
#include "clock/UiHandOver.h"

#include <QMetaObject>
#include <QObject>

UiClockHost::UiClockHost(UiHandOver& handOver, QObject* titleContext, Targets targets)
    : handOver_(handOver), titleContext_(titleContext), targets_(std::move(targets)) {}

void UiClockHost::composeDial(int hour, int minute) {
    // On the user-interface thread, so that the rebuild never overlaps a paint of the dial
    // image and the smile chance that ends it runs where the faces live. Queued behind the
    // refresh of the same second, it reaches the screen with the next one.
    handOver_.post([this, hour, minute] { targets_.composeDial(hour, minute); });
}

void UiClockHost::showDial(int second) {
    RepaintTrace::woke();
    // Waiting for the refresh itself would cost the clock thread a second wake-up every
    // second; waiting for the previous second's calls instead keeps the queue at one
    // second's work, and their failure still ends the loop.
    if (handOver_.waitForPosted())
        handOver_.post([this, second] { targets_.showDial(second); });
}

void UiClockHost::checkKinenbi(int month, int day) {
    targets_.checkKinenbi(month, day);
}

void UiClockHost::checkYotei(int month, int day, int hour, int minute) {
    targets_.checkYotei(month, day, hour, minute);
}

void UiClockHost::setApplicationTitle(const QString& text) {
    if (handOver_.cancelled())
        return;
    QMetaObject::invokeMethod(
        titleContext_, [setTitle = targets_.setTitle, text] { setTitle(text); },
        Qt::QueuedConnection);
}
