#pragma once

#include "shared/Speaker.h"

#include <mutex>
#include <vector>

// A balloon that writes down what it is given to say. Saying makes it speak until the test
// closes it. Safe to use from several threads.
class FakeSpeaker : public Speaker {
public:
    struct Spoken {
        QString message;
        QString clip;
        QString label;
    };

    bool speaking() const override {
        const std::lock_guard lock(mutex_);
        return speaking_;
    }
    void say(const QString& message, const QString& timeLine, const QString& clip) override {
        const std::lock_guard lock(mutex_);
        speaking_ = true;
        spoken_.push_back({message, clip, timeLine});
    }
    void stopSpeaking() override { close(); }

    void close() {
        const std::lock_guard lock(mutex_);
        speaking_ = false;
    }
    std::vector<Spoken> spoken() const {
        const std::lock_guard lock(mutex_);
        return spoken_;
    }

private:
    mutable std::mutex mutex_;
    bool speaking_ = false;
    std::vector<Spoken> spoken_;
};
