#pragma once

#include <sys/types.h>

// The clock thread's six priority levels. 0 runs the thread only when the processor is
// otherwise idle (SCHED_IDLE); 1 to 5 give it nice +10, +5, 0, -5 and -10.
//
// Linux lets a thread without privilege lower its own priority but never raise it again
// (out of SCHED_IDLE, or to a smaller nice value) beyond RLIMIT_NICE. A thread that must
// come back up is therefore replaced by a fresh one, which starts from its creator's level.
namespace ThreadPriority {

inline constexpr int kLevels = 6;

// A level outside 0-5, as a hand-edited setting may hold, counts as 0.
int effectiveLevel(int level);
int niceOf(int level); // for levels 1-5

pid_t currentThreadId();

// Applies the level to one thread of this process; where the system refuses it, the
// nearest nice level below it that the system grants. The result is the level applied, or
// -1 when the thread was left as it was.
int apply(pid_t thread, int level);

} // namespace ThreadPriority
