#include "platform/SecondWaiter.h"

#include <chrono>
#include <ctime>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {

// Waking this long after the whole second keeps a timer that fires a hair early from
// finding the old second still showing.
constexpr std::chrono::microseconds kAfterTheSecond{200};

timespec untilNextSecond() {
    using namespace std::chrono;
    const auto now = system_clock::now().time_since_epoch();
    const auto intoSecond = now - floor<seconds>(now);
    const auto remaining = duration_cast<nanoseconds>(seconds(1) - intoSecond + kAfterTheSecond);
    timespec timeout{};
    timeout.tv_sec = static_cast<time_t>(remaining.count() / 1'000'000'000);
    timeout.tv_nsec = static_cast<long>(remaining.count() % 1'000'000'000);
    return timeout;
}

} // namespace

SystemSecondWaiter::SystemSecondWaiter()
    : wakeFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      timerFd_(::timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK)) {}

SystemSecondWaiter::~SystemSecondWaiter() {
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
    if (timerFd_ >= 0)
        ::close(timerFd_);
}

bool SystemSecondWaiter::waitForNextSecond() {
    if (interrupted_)
        return false;
    // The phase comes from the wall clock, the wait is a relative timeout: a faked wall
    // clock (libfaketime) may fake the monotonic clock too, which would throw off an
    // absolute deadline, while a timeout still runs in real time.
    const timespec timeout = untilNextSecond();
    if (wakeFd_ < 0) {
        ::nanosleep(&timeout, nullptr);
        return !interrupted_;
    }
    // A timeout of poll's own may fire up to a thousandth of itself late (a millisecond
    // here) to save the kernel work; a timer is armed to the nanosecond. Arming it again
    // drops an expiry left from a wait that a wake ended.
    bool armed = false;
    if (timerFd_ >= 0) {
        const itimerspec due{{0, 0}, timeout};
        armed = ::timerfd_settime(timerFd_, 0, &due, nullptr) == 0;
    }
    pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {timerFd_, POLLIN, 0}};
    const bool readable = ::ppoll(fds, armed ? 2 : 1, armed ? nullptr : &timeout, nullptr) > 0;
    // A signal ends the wait early; the caller reads the clock and waits again.
    if (interrupted_)
        return false;
    if (readable && (fds[0].revents & POLLIN)) {
        // A wake, used up; an interruption is never read back (see interrupt).
        eventfd_t count = 0;
        [[maybe_unused]] const auto read = ::read(wakeFd_, &count, sizeof count);
    }
    return true;
}

void SystemSecondWaiter::interrupt() {
    // Set before the write: a wait that sees the descriptor readable sees the flag too, and
    // leaves the count unread, so that every later wait is woken as well.
    interrupted_ = true;
    wake();
}

void SystemSecondWaiter::wake() {
    if (wakeFd_ >= 0) {
        const eventfd_t one = 1;
        [[maybe_unused]] const auto written = ::write(wakeFd_, &one, sizeof one);
    }
}
