#pragma once

#include "events/StageEvents.h"
#include "events/TimeKey.h"
#include "platform/StageTimer.h"
#include "support/FakeTimeline.h"
#include "support/FakeUiPoster.h"

#include <gtest/gtest.h>
#include <mutex>
#include <ostream>
#include <vector>

inline void PrintTo(const Announcement& entry, std::ostream* out) {
    *out << (entry.kind == EventKind::Schedule ? "schedule " : "anniversary ") << entry.slot;
}

// Her balloon and her voice as an announcement sees them. Showing makes the balloon visible
// until the test closes it. Safe to use from several threads.
class FakeSpeech {
public:
    // One shown balloon.
    struct Spoken {
        QString message;
        QString clip;
        QString label;
        bool stayOnTop = false;
    };

    StageEvents::Hooks hooks() {
        return {[this] { return visible(); },
                [this](bool onTop) { note("stacking", [&] { next_.stayOnTop = onTop; }); },
                [this](const QString& text) { note("message", [&] { next_.message = text; }); },
                [this](const QString& text) { note("label", [&] { next_.label = text; }); },
                [this] {
                    note("show", [&] {
                        visible_ = true;
                        spoken_.push_back(next_);
                    });
                },
                [this](const QString& clip) {
                    note("voice", [&] { next_.clip = clip; });
                    return true;
                }};
    }

    bool visible() const {
        const std::lock_guard lock(mutex_);
        return visible_;
    }
    void close() {
        const std::lock_guard lock(mutex_);
        visible_ = false;
    }
    std::vector<Spoken> spoken() const {
        const std::lock_guard lock(mutex_);
        return spoken_;
    }
    // The hooks in the order they were called.
    std::vector<std::string> calls() const {
        const std::lock_guard lock(mutex_);
        return calls_;
    }

private:
    template <class F> void note(const char* call, F change) {
        const std::lock_guard lock(mutex_);
        calls_.push_back(call);
        change();
    }

    mutable std::mutex mutex_;
    bool visible_ = false;
    Spoken next_;
    std::vector<Spoken> spoken_;
    std::vector<std::string> calls_;
};

// Her schedules and anniversaries alone, over a settings record of the test's, with timers
// on a manual clock and a user-interface thread that runs only when the test says so.
class EventsFixture : public ::testing::Test {
protected:
    static EventSlot slotAt(bool used, int month, int day, int hour = 0, int minute = 0) {
        EventSlot slot;
        slot.used = used;
        slot.month = month;
        slot.day = day;
        slot.hour = hour;
        slot.minute = minute;
        return slot;
    }
    // Runs what was posted to the user-interface thread, then lets time pass there.
    void pass(long long milliseconds) {
        ui.runPending();
        timers.advance(milliseconds);
    }
    std::vector<Announcement> pending() const { return events.pending(); }

    StageSettings settings;
    FakeTimeline timers;
    FakeUiPoster ui;
    FakeSpeech speech;
    StageEvents events{settings,
                       {QStringLiteral("記念日です。"), QStringLiteral("予定の時間になりました。")},
                       timers,
                       ui,
                       speech.hooks()};
};
