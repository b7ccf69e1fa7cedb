#pragma once

#include "clock/ClockHost.h"

#include <QString>
#include <mutex>
#include <string>
#include <vector>

// Writes down every call the clock thread makes, in order.
class RecordingHost : public ClockHost {
public:
    void composeDial(int hour, int minute) override {
        log("compose " + std::to_string(hour) + ":" + std::to_string(minute));
    }
    void showDial(int second) override { log("show " + std::to_string(second)); }
    void checkKinenbi(int month, int day) override {
        log("kinenbi " + std::to_string(month) + "/" + std::to_string(day));
    }
    void checkYotei(int month, int day, int hour, int minute) override {
        log("yotei " + std::to_string(month) + "/" + std::to_string(day) + " " +
            std::to_string(hour) + ":" + std::to_string(minute));
    }
    void setApplicationTitle(const QString& text) override { log("title " + text.toStdString()); }

    std::vector<std::string> calls() const {
        const std::lock_guard lock(mutex_);
        return calls_;
    }
    // Only the calls that start with the prefix.
    std::vector<std::string> calls(const std::string& prefix) const {
        std::vector<std::string> matching;
        for (const std::string& call : calls())
            if (call.rfind(prefix, 0) == 0)
                matching.push_back(call);
        return matching;
    }

private:
    void log(std::string call) {
        const std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
    }
    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
};
