#include "platform/UiPoster.h"

void QtUiPoster::post(std::function<void()> call) {
    QMetaObject::invokeMethod(&context_, std::move(call), Qt::QueuedConnection);
}
