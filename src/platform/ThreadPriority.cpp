#include "platform/ThreadPriority.h"

#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
constexpr int kNice[ThreadPriority::kLevels] = {0, 10, 5, 0, -5, -10};
}

int ThreadPriority::effectiveLevel(int level) {
    return level >= 0 && level < kLevels ? level : 0;
}

int ThreadPriority::niceOf(int level) {
    return kNice[effectiveLevel(level)];
}

pid_t ThreadPriority::currentThreadId() {
    return static_cast<pid_t>(::syscall(SYS_gettid));
}

bool ThreadPriority::apply(pid_t thread, int level) {
    level = effectiveLevel(level);
    const sched_param param{};
    if (level == 0)
        return ::sched_setscheduler(thread, SCHED_IDLE, &param) == 0;
    // The nice value first: leaving SCHED_IDLE is allowed only within the nice limit, and a
    // refused raise then leaves the policy alone too.
    if (::setpriority(PRIO_PROCESS, static_cast<id_t>(thread), niceOf(level)) != 0)
        return false;
    return ::sched_getscheduler(thread) == SCHED_OTHER ||
           ::sched_setscheduler(thread, SCHED_OTHER, &param) == 0;
}
