#pragma once

#include "events/StageEvents.h"
#include "platform/StageTimer.h"
#include "shared/TimeKey.h"
#include "support/EventSlotBuilder.h"
#include "support/FakeSpeaker.h"
#include "support/FakeTimeline.h"
#include "support/FakeUiPoster.h"
#include "support/FakeVoice.h"

#include <gtest/gtest.h>
#include <ostream>
#include <vector>

inline void PrintTo(const Announcement& entry, std::ostream* out) {
    *out << (entry.kind == EventKind::Schedule ? "schedule " : "anniversary ") << entry.slot;
}

// Her schedules and anniversaries alone, over a settings record of the test's, with timers
// on a manual clock and a user-interface thread that runs only when the test says so.
class EventsFixture : public ::testing::Test {
protected:
    // Runs what was posted to the user-interface thread, then lets time pass there.
    void pass(long long milliseconds) {
        ui.runPending();
        timers.advance(milliseconds);
    }
    std::vector<Announcement> pending() const { return events.pending(); }

    StageSettings settings;
    FakeTimeline timers;
    FakeUiPoster ui;
    FakeSpeaker speaker;
    FakeVoice voice;
    StageEvents events{
        settings, {QStringLiteral("記念日です。"), QStringLiteral("予定の時間になりました。")},
        timers,   ui,
        speaker,  voice};
};
