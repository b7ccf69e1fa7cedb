// Three threads at once for thousands of rounds: the clock thread checks and queues, the
// user-interface thread announces and removes, and a third commits the slots as a dialog's
// OK does and copies the settings as the close does. Nothing queued is lost or announced
// twice, and no announcement mixes two commits. tests/events_tsan runs it under
// ThreadSanitizer.
#include "support/fixtures/EventsFixture.h"

#include <atomic>
#include <map>
#include <thread>

namespace {

constexpr int kRounds = 4000;
// Each round's schedule check falls on the next day of January at 23:59, as a minute once
// announced is not announced again; the anniversary check on January 1st each round.
int checkDay(int round) {
    return 1 + round % 31;
}
const qint32 kLastCheckMinute = timeKey(1, checkDay(kRounds - 1), 23, 59);

// Commits that never change what is due at the checks: "any" month stands in for January,
// and every schedule falls on any day, every anniversary on the 1st. The texts name the slot
// and the commit.
EventSlots commit(EventKind kind, int generation) {
    EventSlots edited;
    for (int i = 0; i < 3; ++i) {
        EventSlot& slot = edited[i];
        slot.used = true;
        slot.month = generation % 2;
        slot.day = kind == EventKind::Schedule ? 0 : 1;
        slot.hour = 23;
        slot.minute = 59;
        slot.message = QStringLiteral("%1%2#%3")
                           .arg(kind == EventKind::Schedule ? 'Y' : 'K')
                           .arg(i)
                           .arg(generation);
        slot.clip = slot.message;
    }
    return edited;
}

QString nameOf(Announcement entry) {
    return QStringLiteral("%1%2")
        .arg(entry.kind == EventKind::Schedule ? 'Y' : 'K')
        .arg(entry.slot);
}

using AnnouncementStress = EventsFixture;

TEST_F(AnnouncementStress, NothingIsLostDoubledOrMixedWhileThreeThreadsWork) {
    settings.schedules = commit(EventKind::Schedule, 0);
    settings.anniversaries = commit(EventKind::Anniversary, 0);
    std::atomic<bool> checksDone{false};
    std::atomic<bool> announcingDone{false};

    std::thread clock([&] {
        for (int round = 0; round < kRounds; ++round) {
            // Room for the six of a round: a refusal would queue schedules again by design.
            while (events.pending().size() > 10)
                std::this_thread::yield();
            events.checkKinenbi(1, 1);
            events.checkYotei(1, checkDay(round), 23, 59);
        }
        checksDone = true;
    });

    std::vector<qint32> lastYoteiSeen;
    std::thread dialog([&] {
        const auto copyLast = [&] {
            const qint32 last = events.settingsCopy().lastYotei;
            if (lastYoteiSeen.empty() || lastYoteiSeen.back() != last)
                lastYoteiSeen.push_back(last);
        };
        for (int generation = 1; !announcingDone; ++generation) {
            events.commitSlots(EventKind::Schedule, commit(EventKind::Schedule, generation));
            events.commitSlots(EventKind::Anniversary, commit(EventKind::Anniversary, generation));
            copyLast();
        }
        // The last check may have ended after this thread's last pass, as the close comes last.
        copyLast();
    });

    std::map<QString, int> removed;
    for (int turn = 0; !(checksDone && events.pending().empty()); ++turn) {
        ui.runPending();
        if (turn % 7 == 0) {
            const std::vector<Announcement> entries = events.pending();
            if (!entries.empty()) {
                ++removed[nameOf(entries.front())];
                events.removeAnnouncement(0);
            }
        }
        timers.advance(StageEvents::kQueuePeriodMs);
        // Now and then the balloon stays for a tick.
        if (turn % 3 != 0)
            speaker.close();
    }
    announcingDone = true;
    clock.join();
    dialog.join();
    ui.runPending();

    std::map<QString, int> announced;
    int mixed = 0;
    for (const FakeSpeaker::Spoken& said : speaker.spoken()) {
        ++announced[said.message.section(QLatin1Char('#'), 0, 0)];
        const int generation = said.message.section(QLatin1Char('#'), 1).toInt();
        const bool anyMonth = generation % 2 == 0;
        if (said.clip != said.message || said.label.startsWith(QStringLiteral("[**.")) != anyMonth)
            ++mixed;
    }
    EXPECT_EQ(mixed, 0);
    for (const char* name : {"Y0", "Y1", "Y2", "K0", "K1", "K2"})
        EXPECT_EQ(announced[name] + removed[name], kRounds) << name;
    EXPECT_FALSE(events.mainTimer().isActive());
    EXPECT_EQ(lastYoteiSeen.back(), kLastCheckMinute);
    for (qint32 last : lastYoteiSeen) {
        bool aCheckMinute = false;
        for (int round = 0; round < 31; ++round)
            aCheckMinute = aCheckMinute || last == timeKey(1, checkDay(round), 23, 59);
        EXPECT_TRUE(last == 0 || aCheckMinute) << last;
    }
}

} // namespace
