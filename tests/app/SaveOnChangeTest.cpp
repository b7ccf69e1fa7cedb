#include "app/SaveOnChange.h"
#include "platform/StageTimer.h"
#include "support/fakes/FakeTimeline.h"

#include <gtest/gtest.h>
#include <vector>

using Moments = std::vector<std::pair<long long, int>>; // ms from the start, samiLim

// Changes of the record, each told at its moment; the saves it makes, each with what it wrote.
// The first save fails in the last case.
TEST(SaveOnChange, SavesEachChangeWithinTheDelayABurstOnceAndNothingWhileNothingChanges) {
    const std::pair<Moments, Moments> cases[] = {
        {{{100, 60}}, {{600, 60}}},
        {{{0, 1}, {200, 2}, {499, 3}}, {{500, 3}}},
        {{{0, 1}, {2000, 2}}, {{500, 1}, {2500, 2}}},
        {{{0, 3600}, {1000, 5}, {1200, 3600}}, {}},
        {{{0, 1}, {3000, 1}}, {{500, 1}, {3500, 1}}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [changes, expected] = cases[i];
        FakeTimeline timeline;
        StageSettings record;
        Moments saves;
        SaveOnChange saver(
            timeline, record, [&] { return record; },
            [&](const StageSettings& written) {
                saves.emplace_back(timeline.now(), written.samiLim);
                return saves.size() > 1 || i != 4;
            });
        for (const auto& [at, samiLim] : changes) {
            timeline.advance(at - timeline.now());
            record.samiLim = samiLim;
            saver.changed();
        }
        timeline.advance(10'000);
        EXPECT_EQ(saves, expected) << "case " << i;
        EXPECT_FALSE(saver.isOwed()) << "a timer left to wake her";
    }
}
