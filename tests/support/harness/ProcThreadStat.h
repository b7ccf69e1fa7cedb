#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// A thread's scheduling as the kernel reports it in /proc/<pid>/task/<tid>/stat.
struct ProcThreadStat {
    pid_t tid = 0;
    std::string name; // comm
    int nice = 0;     // field 19
    int policy = 0;   // field 41
    bool read = false;

    // A thread of this process.
    static ProcThreadStat of(pid_t tid);
    static ProcThreadStat of(pid_t pid, pid_t tid);
    // Every thread of a process.
    static std::vector<ProcThreadStat> threadsOf(pid_t pid);
    // The threads of a process with that name.
    static std::vector<ProcThreadStat> threadsNamed(pid_t pid, const std::string& name);

    // What the kernel shows for one of the clock's priority levels: SCHED_IDLE for 0, else
    // SCHED_OTHER at the level's nice value.
    bool showsLevel(int level) const;
};

// One line of /proc/<pid>/task/<tid>/status ("CapEff", "Uid", ...), without its label;
// empty when there is none.
std::string procStatusField(pid_t pid, pid_t tid, const std::string& label);

// Whether a thread made by the calling thread may take a nice value below 0.
bool callerMayRaisePriority();

// The level a fresh thread made by such a thread gets: those above normal need privilege.
inline int grantedLevel(int level, bool mayRaise) {
    return level > 3 && !mayRaise ? 3 : level;
}

// Takes CAP_SYS_NICE out of the calling thread's effective capabilities; the threads it
// makes from then on start without it too. False when that failed.
bool dropNiceCapability();
