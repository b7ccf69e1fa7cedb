#include "clock/UiHandOver.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>

struct UiHandOver::State {
    std::mutex mutex;
    std::condition_variable changed;
    // Read without the lock, so that the user-interface thread never waits for the caller
    // that is just going to sleep.
    std::atomic<bool> cancelled{false};
};

namespace {
struct Call {
    std::function<void()> body;
    bool done = false;
    std::exception_ptr error;
};
} // namespace

UiHandOver::UiHandOver(QObject* context) : context_(context), state_(std::make_shared<State>()) {}

UiHandOver::~UiHandOver() {
    cancel();
}

bool UiHandOver::run(std::function<void()> body) {
    QObject* context = context_;
    if (!context)
        return false;
    if (context->thread() == QThread::currentThread()) {
        if (cancelled())
            return false;
        body();
        return true;
    }
    auto call = std::make_shared<Call>();
    call->body = std::move(body);
    if (cancelled())
        return false;
    // Posted without holding the lock, and signalled after letting it go, so that neither
    // thread wakes the other only to find the lock taken. The queued call holds the shared
    // state, not this object, so that it may outlive the caller's wait and the hand-over.
    QMetaObject::invokeMethod(
        context,
        [state = state_, call] {
            if (state->cancelled)
                return;
            try {
                call->body();
            } catch (...) {
                call->error = std::current_exception();
            }
            {
                const std::lock_guard finished(state->mutex);
                call->done = true;
            }
            state->changed.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(state_->mutex);
    state_->changed.wait(lock, [&] { return call->done || state_->cancelled; });
    if (!call->done)
        return false;
    if (call->error)
        std::rethrow_exception(call->error);
    return true;
}

void UiHandOver::cancel() {
    {
        const std::lock_guard lock(state_->mutex);
        state_->cancelled = true;
    }
    state_->changed.notify_all();
}

bool UiHandOver::cancelled() const {
    return state_->cancelled;
}
