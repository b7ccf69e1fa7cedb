#pragma once

#include "platform/UiPoster.h"

#include <deque>
#include <mutex>

// A user-interface thread without an event loop: posted calls wait, from any thread, until
// the test runs them on its own.
class FakeUiPoster : public UiPoster {
public:
    void post(std::function<void()> call) override {
        const std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
    }
    // Runs what is pending, and what those calls post, in order.
    void runPending() {
        while (true) {
            std::function<void()> call;
            {
                const std::lock_guard lock(mutex_);
                if (calls_.empty())
                    return;
                call = std::move(calls_.front());
                calls_.pop_front();
            }
            call();
        }
    }

private:
    std::mutex mutex_;
    std::deque<std::function<void()>> calls_;
};
