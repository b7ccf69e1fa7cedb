// The clock thread's wait for the next second of the wall clock: a stop ends it for good, a
// wake ends one wait early. Plain threads, so that tests/events_tsan runs these under
// ThreadSanitizer too.
#include "platform/SecondWaiter.h"

#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace std::chrono_literals;

bool sameWallSecond(std::chrono::system_clock::time_point a,
                    std::chrono::system_clock::time_point b) {
    using std::chrono::floor;
    using std::chrono::seconds;
    return floor<seconds>(a) == floor<seconds>(b);
}

} // namespace

TEST(ClockThread, StopWakesTheWaitForTheNextSecond) {
    SystemSecondWaiter waiter;
    auto waited = std::async(std::launch::async, [&] {
        int returned = 0;
        while (waiter.waitForNextSecond())
            ++returned;
        return returned;
    });
    std::this_thread::sleep_for(1500ms);
    waiter.interrupt();
    ASSERT_EQ(waited.wait_for(5s), std::future_status::ready);
    EXPECT_GE(waited.get(), 1);
    EXPECT_FALSE(waiter.waitForNextSecond());
    waiter.wake(); // a wake never undoes the stop
    EXPECT_FALSE(waiter.waitForNextSecond());
}

TEST(ClockThread, EachWaitEndsOnANewSecond) {
    SystemSecondWaiter waiter;
    using std::chrono::system_clock;
    int changed = 0;
    for (int k = 0; k < 3; ++k) {
        const auto before = system_clock::now();
        ASSERT_TRUE(waiter.waitForNextSecond());
        changed += !sameWallSecond(before, system_clock::now());
    }
    // A signal may end a wait early; it never sleeps past more than one second.
    EXPECT_GE(changed, 2);
}

TEST(ClockThread, AWakeEndsOneWaitEarlyAndIsUsedUp) {
    SystemSecondWaiter waiter;
    using std::chrono::system_clock;
    int early = 0;
    int later = 0;
    for (int k = 0; k < 3; ++k) {
        // Just after a whole second, a wake given before the wait ends it at once.
        ASSERT_TRUE(waiter.waitForNextSecond());
        const auto woken = system_clock::now();
        waiter.wake();
        ASSERT_TRUE(waiter.waitForNextSecond());
        early += sameWallSecond(woken, system_clock::now());
        // The next one waits for the second again.
        const auto before = system_clock::now();
        ASSERT_TRUE(waiter.waitForNextSecond());
        later += !sameWallSecond(before, system_clock::now());
    }
    // Generous for a loaded machine, which may hold a thread up past a whole second.
    EXPECT_GE(early, 2);
    EXPECT_GE(later, 2);
}

TEST(ClockThread, ATimerLeftFromAWokenWaitNeverEndsALaterOne) {
    SystemSecondWaiter waiter;
    using std::chrono::system_clock;
    int waited = 0;
    for (int k = 0; k < 3; ++k) {
        // A wake ends this wait before its second; its timer then runs out unread.
        waiter.wake();
        ASSERT_TRUE(waiter.waitForNextSecond());
        std::this_thread::sleep_for(1200ms);
        const auto before = system_clock::now();
        ASSERT_TRUE(waiter.waitForNextSecond());
        waited += !sameWallSecond(before, system_clock::now());
    }
    // Generous for a loaded machine, which may hold a thread up past a whole second.
    EXPECT_GE(waited, 2);
}
