// Her loneliness on fake timers: what she says and which face she shows, and when.
#include "character/Loneliness.h"
#include "platform/StageTimer.h"
#include "stage/MenuItem.h"
#include "stage/StagePopupMenu.h"
#include "support/fakes/FakeTimeline.h"
#include "support/fixtures/TestApplication.h"

#include <QActionGroup>
#include <QCheckBox>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr long long kSecond = 1000;

class LonelinessTest : public ::testing::Test {
protected:
    // "<seconds since the arming> <clip or face>", in order.
    static std::string at(long long seconds, const std::string& what) {
        return std::to_string(seconds) + "s " + what;
    }
    void note(const std::string& what) {
        log.push_back(timeline.now() % kSecond == 0
                          ? at(timeline.now() / kSecond, what)
                          : std::to_string(timeline.now()) + "ms " + what);
    }
    QAction* checkedPatience() const {
        return MenuItem::groupOf(*menu.findChild<QMenu*>("MIGaman")).checkedAction();
    }

    QApplication& app = testApplication();
    FakeTimeline timeline;
    StagePopupMenu menu;
    QCheckBox NakuTest;
    qint32 samiLim = 600;
    int face = 0;
    std::vector<std::string> log;
    Loneliness loneliness{
        samiLim, timeline, menu, NakuTest,
        Loneliness::Hooks{.playVoice = [this](const QString& clip) { note(clip.toStdString()); },
                          .setFace =
                              [this](int index) {
                                  face = index;
                                  note("face " + std::to_string(index));
                              },
                          .expressionShowing = [this] { return face > 0; }}};
};

TEST_F(LonelinessTest, LeftAloneSheCallsCriesAndCalmsDownCycleAfterCycle) {
    loneliness.armSamishii();
    EXPECT_EQ(checkedPatience(), menu.findChild<QAction*>("MIGaman1"));
    timeline.advance(3 * 720 * kSecond);
    std::vector<std::string> expected;
    for (long long cycle : {0, 720, 1440}) {
        expected.push_back(at(cycle + 600, "Snd_Matsu1"));
        expected.push_back(at(cycle + 600, "face 2"));
        expected.push_back(at(cycle + 660, "Snd_Matsu2"));
        expected.push_back(at(cycle + 660, "face 3"));
        expected.push_back(at(cycle + 720, "face 0"));
    }
    EXPECT_EQ(log, expected);
}

TEST_F(LonelinessTest, ATouchDuringHerFirstCallEndsItAndRestartsTheWholeWait) {
    loneliness.armSamishii();
    timeline.advance(630 * kSecond);
    loneliness.userTouched();
    timeline.advance(600 * kSecond - 1);
    EXPECT_EQ(log, (std::vector<std::string>{at(600, "Snd_Matsu1"), at(600, "face 2"),
                                             at(630, "face 0")}));
    timeline.advance(1);
    EXPECT_EQ(log.back(), at(1230, "face 2"));
    // A touch while her own face shows restarts the wait, and changes no face.
    timeline.advance(270 * kSecond);
    EXPECT_EQ(log.back(), at(1350, "face 0"));
    const std::size_t seen = log.size();
    loneliness.userTouched();
    timeline.advance(600 * kSecond - 1);
    EXPECT_EQ(log.size(), seen);
    timeline.advance(1);
    EXPECT_EQ(log.back(), at(2100, "face 2"));
}

class Off : public LonelinessTest, public ::testing::WithParamInterface<bool> {};

TEST_P(Off, SheNeverCalls) {
    samiLim = 0;
    NakuTest.setChecked(GetParam());
    loneliness.armSamishii();
    EXPECT_FALSE(loneliness.timer().isActive());
    timeline.advance(24 * 3600 * kSecond);
    EXPECT_TRUE(log.empty());
}

INSTANTIATE_TEST_SUITE_P(WhateverNakuTestSays, Off, ::testing::Bool());

struct Meaningless {
    qint32 samiLim;
    bool waits;
    int interval;
};
void PrintTo(const Meaningless& time, std::ostream* out) {
    *out << "samiLim " << time.samiLim;
}

class MeaninglessTime : public LonelinessTest, public ::testing::WithParamInterface<Meaningless> {};

TEST_P(MeaninglessTime, IsOffOrTheLongestWaitAndNeverATimerThatRushes) {
    samiLim = GetParam().samiLim;
    for (bool naku : {false, true}) {
        NakuTest.setChecked(naku);
        loneliness.armSamishii();
        EXPECT_EQ(loneliness.timer().isActive(), GetParam().waits);
        if (GetParam().waits) {
            EXPECT_EQ(loneliness.timer().interval(), naku ? 5000 : GetParam().interval);
        }
    }
    NakuTest.setChecked(false);
    loneliness.armSamishii();
    timeline.advance(10 * 24 * 3600 * kSecond);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(samiLim, GetParam().samiLim);
}

constexpr int kLongest = std::numeric_limits<int>::max();

INSTANTIATE_TEST_SUITE_P(
    StoredByHand, MeaninglessTime,
    ::testing::Values(Meaningless{-1, false, 0},
                      Meaningless{std::numeric_limits<qint32>::min(), false, 0},
                      Meaningless{2147483, true, 2147483000}, Meaningless{2147484, true, kLongest},
                      // Its product would wrap round to 704 ms.
                      Meaningless{4294968, true, kLongest}, Meaningless{kLongest, true, kLongest}));

} // namespace
