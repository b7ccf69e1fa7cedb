#include "platform/ThreadPriority.h"

#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
constexpr int kNice[ThreadPriority::kLevels] = {0, 10, 5, 0, -5, -10};

bool applyExactly(pid_t thread, int level) {
    const sched_param param{};
    if (level == 0)
        return ::sched_setscheduler(thread, SCHED_IDLE, &param) == 0;
    // The nice value first: leaving SCHED_IDLE is allowed only within the nice limit, and a
    // refused raise then leaves the policy alone too.
    if (::setpriority(PRIO_PROCESS, static_cast<id_t>(thread), kNice[level]) != 0)
        return false;
    return ::sched_getscheduler(thread) == SCHED_OTHER ||
           ::sched_setscheduler(thread, SCHED_OTHER, &param) == 0;
}
} // namespace

int ThreadPriority::effectiveLevel(int level) {
    return level >= 0 && level < kLevels ? level : 0;
}

int ThreadPriority::niceOf(int level) {
    return kNice[effectiveLevel(level)];
}

pid_t ThreadPriority::currentThreadId() {
    return static_cast<pid_t>(::syscall(SYS_gettid));
}

int ThreadPriority::apply(pid_t thread, int level) {
    level = effectiveLevel(level);
    // Never down to idle in place of a nice level: a thread that cannot have any of them
    // keeps the one it has.
    const int lowest = level == 0 ? 0 : 1;
    for (; level >= lowest; --level) {
        if (applyExactly(thread, level))
            return level;
    }
    return -1;
}
