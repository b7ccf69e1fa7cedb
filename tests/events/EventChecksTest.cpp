// Which schedules and anniversaries fall due, how the queue and MainTimer work them off one
// balloon at a time, and what the balloon is told.
#include "support/fixtures/EventsFixture.h"

#include <QDate>
#include <ctime>
#include <set>
#include <tuple>

namespace {

Announcement schedule(int slot) {
    return {EventKind::Schedule, slot};
}
Announcement anniversary(int slot) {
    return {EventKind::Anniversary, slot};
}

struct ScheduleCase {
    const char* name;
    int month, day, hour, minute; // the slot; 0 for "any" month or day
    int now[4];                   // month, day, hour, minute of the check
    qint32 lastYotei;
    bool due;
};

void PrintTo(const ScheduleCase& c, std::ostream* out) {
    *out << c.name;
}

// lastYotei a minute before the check unless the case is about catching up.
const ScheduleCase kScheduleCases[] = {
    {"DailyAtItsMinute", 0, 0, 8, 30, {3, 15, 8, 30}, timeKey(3, 15, 8, 29), true},
    {"DailyOnAnyDay", 0, 0, 8, 30, {11, 2, 8, 30}, timeKey(11, 2, 8, 29), true},
    {"DailyNotAtTheNextMinute", 0, 0, 8, 30, {3, 15, 8, 31}, timeKey(3, 15, 8, 30), false},
    {"MonthlyOnItsDay", 0, 15, 8, 30, {4, 15, 8, 30}, timeKey(4, 15, 8, 29), true},
    {"MonthlyNotOnTheNextDay", 0, 15, 8, 30, {4, 16, 8, 30}, timeKey(4, 16, 8, 29), false},
    {"MarchOnAnyDayOfMarch", 3, 0, 7, 0, {3, 28, 7, 0}, timeKey(3, 28, 6, 59), true},
    {"MarchNotInApril", 3, 0, 7, 0, {4, 1, 7, 0}, timeKey(4, 1, 6, 59), false},
    {"LastYoteiZeroCatchesUpEarlierToday", 0, 0, 8, 0, {3, 15, 9, 12}, 0, true},
    {"PassedTimeAfterLastYoteiIsCaughtUp",
     0,
     0,
     12,
     0,
     {3, 15, 15, 1},
     timeKey(3, 15, 11, 0),
     true},
    {"PassedTimeBeforeLastYoteiWaits", 0, 0, 12, 0, {3, 15, 15, 1}, timeKey(3, 15, 13, 0), false},
    {"WhichComesTheNextDayAtItsMinute", 0, 0, 12, 0, {3, 16, 12, 0}, timeKey(3, 15, 13, 0), true},
    {"JanuaryMissedOverTheTurnOfTheYear",
     1,
     5,
     12,
     0,
     {1, 5, 15, 0},
     timeKey(12, 31, 23, 0),
     false},
    {"NewYearAtTheExactMinute", 0, 0, 9, 0, {1, 1, 9, 0}, timeKey(12, 31, 23, 0), true},
    {"JanuaryCaughtUpOnceLastYoteiIsInJanuary",
     1,
     5,
     12,
     0,
     {1, 5, 15, 0},
     timeKey(1, 5, 9, 0),
     true},
    // The minute last announced comes again: the clocks went back an hour, or she started
    // again within it.
    {"TheAnnouncedMinuteAgainAfterTheClocksWentBack",
     0,
     0,
     2,
     30,
     {10, 25, 2, 30},
     timeKey(10, 25, 2, 30),
     false},
    {"AMonthlyOneAtARestartWithinItsMinute",
     0,
     15,
     8,
     30,
     {4, 15, 8, 30},
     timeKey(4, 15, 8, 30),
     false},
    {"AnotherDaysSameMinuteIsNotTheSame", 0, 0, 8, 30, {3, 16, 8, 30}, timeKey(3, 15, 8, 30), true},
};

class ScheduleMatching : public EventsFixture,
                         public ::testing::WithParamInterface<ScheduleCase> {};

TEST_P(ScheduleMatching, QueuesTheSlotAndMovesLastYoteiToTheCheckOnlyWhenDue) {
    const ScheduleCase& c = GetParam();
    settings.schedules[1] = eventSlot(true, c.month, c.day, c.hour, c.minute);
    settings.lastYotei = c.lastYotei;
    events.checkYotei(c.now[0], c.now[1], c.now[2], c.now[3]);
    if (c.due) {
        EXPECT_EQ(pending(), std::vector{schedule(1)});
        EXPECT_EQ(events.lastYotei(), timeKey(c.now[0], c.now[1], c.now[2], c.now[3]));
    } else {
        EXPECT_TRUE(pending().empty());
        EXPECT_EQ(events.lastYotei(), c.lastYotei);
    }
    // A slot not in use never is.
    settings.schedules[1].used = false;
    settings.lastYotei = c.lastYotei;
    events.checkYotei(c.now[0], c.now[1], c.now[2], c.now[3]);
    EXPECT_EQ(pending().size(), c.due ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScheduleMatching, ::testing::ValuesIn(kScheduleCases),
                         [](const auto& info) { return std::string(info.param.name); });

using EventChecks = EventsFixture;

TEST_F(EventChecks, AnniversariesFallOnTheirDayEveryYearAndTheAny31stOnlyInLongMonths) {
    settings.anniversaries[0] = eventSlot(true, 12, 24);
    settings.anniversaries[1] = eventSlot(false, 0, 10);
    settings.anniversaries[2] = eventSlot(true, 0, 31);
    const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::vector<std::pair<int, int>> christmas;
    std::set<int> monthsWith31st;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= lengths[month - 1]; ++day) {
            events.checkKinenbi(month, day);
            for (const Announcement& entry : pending()) {
                if (entry == anniversary(0))
                    christmas.emplace_back(month, day);
                else if (entry == anniversary(2))
                    monthsWith31st.insert(month);
                else
                    ADD_FAILURE() << "slot " << entry.slot << " on " << month << "/" << day;
            }
            while (!pending().empty())
                events.removeAnnouncement(0);
        }
    }
    EXPECT_EQ(christmas, (std::vector<std::pair<int, int>>{{12, 24}}));
    EXPECT_EQ(monthsWith31st, (std::set<int>{1, 3, 5, 7, 8, 10, 12}));
}

TEST_F(EventChecks, AnAnniversaryIsAnnouncedAgainAtEveryStartOnItsDay) {
    settings.anniversaries[1] = eventSlot(true, 12, 24);
    events.checkKinenbi(12, 24);
    EXPECT_EQ(pending(), std::vector{anniversary(1)});
    // The next start of the program: nothing remembers the first.
    StageEvents again(settings, {}, timers, ui, speaker, voice);
    again.checkKinenbi(12, 24);
    EXPECT_EQ(again.pending(), std::vector{anniversary(1)});
}

TEST_F(EventChecks, TwoInOneMinuteComeInSlotOrderTheSecondAtTheFirstTickAfterTheBalloon) {
    settings.schedules[2] = eventSlot(true, 0, 0, 8, 30);
    settings.schedules[2].message = QStringLiteral("二つ目");
    settings.schedules[0] = eventSlot(true, 0, 0, 8, 30);
    settings.schedules[0].message = QStringLiteral("一つ目");
    events.checkYotei(3, 15, 8, 30);
    EXPECT_EQ(pending(), (std::vector{schedule(0), schedule(2)}));
    // The checking thread only posts: the timer is armed on the user-interface thread.
    EXPECT_FALSE(events.mainTimer().isActive());

    pass(199);
    EXPECT_TRUE(speaker.spoken().empty());
    pass(1);
    ASSERT_EQ(speaker.spoken().size(), 1u);
    EXPECT_EQ(speaker.spoken()[0].message, QStringLiteral("一つ目"));
    // Nothing more while the balloon shows, however long.
    pass(60'000);
    EXPECT_EQ(speaker.spoken().size(), 1u);
    speaker.close();
    pass(5000);
    ASSERT_EQ(speaker.spoken().size(), 2u);
    EXPECT_EQ(speaker.spoken()[1].message, QStringLiteral("二つ目"));
    speaker.close();
    pass(5000);
    EXPECT_FALSE(events.mainTimer().isActive());
    EXPECT_EQ(speaker.spoken().size(), 2u);
}

TEST_F(EventChecks, ALaterEntryLeavesTheCountdownOfTheFirstAndAShowingBalloonMeansFiveSeconds) {
    events.queueAnnouncement(EventKind::Schedule, 0);
    pass(150);
    events.queueAnnouncement(EventKind::Schedule, 1);
    pass(50);
    EXPECT_EQ(speaker.spoken().size(), 1u);
    EXPECT_EQ(events.mainTimer().interval(), StageEvents::kQueuePeriodMs);

    // Queued while the balloon shows, into an empty queue: first look after 5 s.
    events.removeAnnouncement(0);
    EXPECT_FALSE(events.mainTimer().isActive());
    events.queueAnnouncement(EventKind::Anniversary, 2);
    pass(0);
    speaker.close();
    pass(4999);
    EXPECT_EQ(speaker.spoken().size(), 1u);
    pass(1);
    EXPECT_EQ(speaker.spoken().size(), 2u);
}

// The night the clocks go back at 03:00 summer time: the clock thread checks every minute
// from 02:00 to 02:59 twice. The daily 02:30 comes once, and again the next night.
TEST_F(EventChecks, TheHourThatRepeatsAnnouncesItsSchedulesOnce) {
    settings.schedules[0] = eventSlot(true, 0, 0, 2, 30);
    int announced = 0;
    for (const int day : {25, 25, 26}) {
        for (int minute = 0; minute < 60; ++minute) {
            events.checkYotei(10, day, 2, minute);
            announced += int(pending().size());
            while (!pending().empty())
                events.removeAnnouncement(0);
        }
        EXPECT_EQ(announced, day == 25 ? 1 : 2) << "by the night of the " << day << "th";
    }
}

// The same night in Berlin (the last Sunday of October) with two schedules in the hour: for
// her running through it, and for a start at 02:10 the second time round.
TEST_F(EventChecks, TwoSchedulesInTheHourThatRepeatsComeOnceEach) {
    const QByteArray savedZone = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    ::tzset();
    const QDate october31(QDate::currentDate().year(), 10, 31);
    const int day = october31.addDays(-(october31.dayOfWeek() % 7)).day();
    for (const bool restarted : {false, true}) {
        settings.schedules[0] = eventSlot(true, 0, 0, 2, 15);
        settings.schedules[1] = eventSlot(true, 0, 0, 2, 45);
        settings.lastYotei = restarted ? timeKey(10, day, 2, 45) : timeKey(10, day, 1, 0);
        std::vector<int> rounds; // of each announcement: 1 and 2 that night, 3 the next
        const std::tuple<int, int, int> passes[] = {
            {1, day, restarted ? 60 : 0}, {2, day, restarted ? 10 : 0}, {3, day + 1, 0}};
        for (const auto& [round, checkDay, from] : passes)
            for (int minute = from; minute < 60; ++minute) {
                events.checkYotei(10, checkDay, 2, minute);
                for (; !pending().empty(); events.removeAnnouncement(0))
                    rounds.push_back(round);
            }
        EXPECT_EQ(rounds, (restarted ? std::vector{3, 3} : std::vector{1, 1, 3, 3}));
    }
    savedZone.isNull() ? qunsetenv("TZ") : qputenv("TZ", savedZone);
    ::tzset();
}

TEST_F(EventChecks, AFullQueueRefusesTheSeventeenthAndTheScheduleCheckCatchesUpLater) {
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(events.queueAnnouncement(EventKind::Anniversary, i % 3));
    const std::vector<Announcement> sixteen = pending();
    EXPECT_FALSE(events.queueAnnouncement(EventKind::Schedule, 0));
    EXPECT_EQ(pending(), sixteen);
    events.removeAnnouncement(16);
    events.removeAnnouncement(-1);
    EXPECT_EQ(pending(), sixteen);

    // Room for one: slot 0 goes in, slot 1 is refused, and the check stops there.
    events.removeAnnouncement(15);
    for (EventSlot& slot : settings.schedules)
        slot = eventSlot(true, 0, 0, 8, 30);
    settings.anniversaries[0] = eventSlot(true, 0, 15);
    settings.lastYotei = timeKey(3, 15, 8, 29);
    events.checkYotei(3, 15, 8, 30);
    EXPECT_EQ(pending().back(), schedule(0));
    EXPECT_EQ(events.lastYotei(), timeKey(3, 15, 8, 29));
    // An anniversary refused is lost for the day.
    events.checkKinenbi(3, 15);

    while (!pending().empty())
        events.removeAnnouncement(0);
    events.checkYotei(3, 15, 8, 31);
    EXPECT_EQ(pending(), (std::vector{schedule(0), schedule(1), schedule(2)}));
    EXPECT_EQ(events.lastYotei(), timeKey(3, 15, 8, 31));
}

TEST_F(EventChecks, TheBalloonGetsTheMessageThenTheVoiceTheTimeLabelAndShowsLast) {
    struct Case {
        EventKind kind;
        EventSlot slot;
        QString message;
        QString expectedMessage;
        QString label;
    };
    const Case cases[] = {
        {EventKind::Schedule,
         eventSlot(true, 5, 12, 8, 30),
         {},
         "予定の時間になりました。",
         "[05.12  08:30]"},
        {EventKind::Schedule, eventSlot(true, 0, 0, 21, 0), "  ", "  ", "[**.**  21:00]"},
        {EventKind::Schedule, eventSlot(false, 0, 3, 7, 5), "二行\nです", "二行\nです",
         "[**.03  07:05]"},
        {EventKind::Anniversary, eventSlot(true, 12, 24), {}, "記念日です。", "[12.24]"},
        {EventKind::Anniversary, eventSlot(true, 0, 3), "毎月", "毎月", "[**.03]"},
    };
    for (const Case& c : cases) {
        EventSlot slot = c.slot;
        slot.message = c.message;
        slot.clip = QStringLiteral("Snd_Jikan3");
        (c.kind == EventKind::Schedule ? settings.schedules : settings.anniversaries)[2] = slot;
        events.announce(c.kind, 2);
        const FakeSpeaker::Spoken said = speaker.spoken().back();
        EXPECT_EQ(said.message, c.expectedMessage);
        EXPECT_EQ(said.label, c.label);
        EXPECT_EQ(said.clip, QStringLiteral("Snd_Jikan3"));
    }
}

TEST_F(EventChecks, TheDebugButtonAnnouncesScheduleZeroUnusedAndOverAShowingBalloon) {
    settings.schedules[0] = eventSlot(false, 0, 0, 6, 0);
    events.MessageTestClick();
    events.MessageTestClick();
    ASSERT_EQ(speaker.spoken().size(), 2u);
    EXPECT_EQ(speaker.spoken()[1].label, QStringLiteral("[**.**  06:00]"));
    EXPECT_TRUE(pending().empty());
}

} // namespace
