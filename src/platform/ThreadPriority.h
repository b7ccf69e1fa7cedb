#pragma once

#include <sys/types.h>

// The clock thread's six priority levels. 0 runs the thread only when the processor is
// otherwise idle (SCHED_IDLE); 1 to 5 give it nice +10, +5, 0, -5 and -10.
namespace ThreadPriority {

inline constexpr int kLevels = 6;

// A level outside 0-5, as a hand-edited setting may hold, counts as 0.
int effectiveLevel(int level);
int niceOf(int level); // for levels 1-5

pid_t currentThreadId();

// Applies the level to one thread of this process. A refusal (raising priority without
// the right to) leaves the thread as it was and is reported only by the result.
bool apply(pid_t thread, int level);

} // namespace ThreadPriority
