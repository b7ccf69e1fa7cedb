#include "platform/SecondWaiter.h"

#include <chrono>
#include <ctime>
#include <poll.h>
#include <sys/eventfd.h>
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

SystemSecondWaiter::SystemSecondWaiter() : wakeFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

SystemSecondWaiter::~SystemSecondWaiter() {
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
}

bool SystemSecondWaiter::waitForNextSecond() {
    if (interrupted_)
        return false;
    // The phase comes from the wall clock, the wait is a relative timeout: a faked wall
    // clock (libfaketime) may fake the monotonic clock too, which would throw off an
    // absolute deadline, while a timeout still runs in real time.
    const timespec timeout = untilNextSecond();
    if (wakeFd_ >= 0) {
        pollfd wake{wakeFd_, POLLIN, 0};
        // A signal ends the wait early; the caller reads the clock and waits again.
        ::ppoll(&wake, 1, &timeout, nullptr);
    } else {
        ::nanosleep(&timeout, nullptr);
    }
    return !interrupted_;
}

void SystemSecondWaiter::interrupt() {
    interrupted_ = true;
    if (wakeFd_ >= 0) {
        const eventfd_t one = 1;
        // Never read back, so the descriptor stays readable and wakes every later wait.
        [[maybe_unused]] const auto written = ::write(wakeFd_, &one, sizeof one);
    }
}
