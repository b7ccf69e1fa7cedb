#include "clock/UiHandOver.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <utility>

struct UiHandOver::State {
    std::mutex mutex;
    std::condition_variable changed;
    // Read without the lock, so that the user-interface thread never waits for the caller
    // that is just going to sleep.
    std::atomic<bool> cancelled{false};
    // Guarded by the mutex.
    unsigned long long posted = 0;
    unsigned long long done = 0;
    int waiting = 0;
    std::exception_ptr error;

    // On the context's thread, in the order posted.
    void runPosted(const std::function<void()>& call) {
        std::exception_ptr failure;
        if (!cancelled) {
            try {
                call();
            } catch (...) {
                failure = std::current_exception();
            }
        }
        bool wake = false;
        {
            const std::lock_guard lock(mutex);
            ++done;
            if (failure && !error)
                error = failure;
            wake = waiting > 0;
        }
        // Only a caller that sleeps here is woken: the hand-over costs it nothing else.
        if (wake)
            changed.notify_all();
    }
};

UiHandOver::UiHandOver(QObject* context) : context_(context), state_(std::make_shared<State>()) {}

UiHandOver::~UiHandOver() {
    cancel();
}

bool UiHandOver::post(std::function<void()> call) {
    QObject* context = context_;
    if (!context || cancelled())
        return false;
    {
        const std::lock_guard lock(state_->mutex);
        ++state_->posted;
    }
    if (context->thread() == QThread::currentThread()) {
        state_->runPosted(call);
        return true;
    }
    // The queued call holds the shared state, not this object, so that it may outlive the
    // caller and the hand-over.
    QMetaObject::invokeMethod(
        context, [state = state_, call = std::move(call)] { state->runPosted(call); },
        Qt::QueuedConnection);
    return true;
}

bool UiHandOver::waitForPosted() {
    std::unique_lock lock(state_->mutex);
    const unsigned long long target = state_->posted;
    if (state_->done < target && !state_->cancelled) {
        ++state_->waiting;
        state_->changed.wait(lock, [&] { return state_->done >= target || state_->cancelled; });
        --state_->waiting;
    }
    if (state_->error) {
        std::exception_ptr error = std::exchange(state_->error, nullptr);
        std::rethrow_exception(error);
    }
    return state_->done >= target;
}

bool UiHandOver::run(std::function<void()> call) {
    return post(std::move(call)) && waitForPosted();
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
