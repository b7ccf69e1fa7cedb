#pragma once

#include <sys/types.h>
#include <vector>

// A thread's scheduling as the kernel reports it in /proc/<pid>/task/<tid>/stat.
struct ProcThreadStat {
    int nice = 0;   // field 19
    int policy = 0; // field 41
    bool read = false;

    // A thread of this process.
    static ProcThreadStat of(pid_t tid);
    static ProcThreadStat of(pid_t pid, pid_t tid);
    // Every thread of a process.
    static std::vector<ProcThreadStat> threadsOf(pid_t pid);
};
