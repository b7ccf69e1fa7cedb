#include "support/harness/ProcThreadStat.h"

#include "platform/ThreadPriority.h"

#include <filesystem>
#include <fstream>
#include <linux/capability.h>
#include <sched.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace {
std::string taskPath(pid_t pid, pid_t tid) {
    return "/proc/" + std::to_string(pid) + "/task/" + std::to_string(tid);
}
} // namespace

ProcThreadStat ProcThreadStat::of(pid_t tid) {
    return of(::getpid(), tid);
}

ProcThreadStat ProcThreadStat::of(pid_t pid, pid_t tid) {
    ProcThreadStat stat;
    std::ifstream file(taskPath(pid, tid) + "/stat");
    std::string line;
    if (!std::getline(file, line))
        return stat;
    // The command name may hold spaces; fields are counted after its closing bracket.
    const auto open = line.find('(');
    const auto close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open)
        return stat;
    std::istringstream rest(line.substr(close + 2));
    std::vector<std::string> fields{"pid", "comm"};
    for (std::string field; rest >> field;)
        fields.push_back(field);
    if (fields.size() < 41)
        return stat;
    stat.tid = tid;
    stat.name = line.substr(open + 1, close - open - 1);
    stat.nice = std::stoi(fields[18]);
    stat.policy = std::stoi(fields[40]);
    stat.read = true;
    return stat;
}

std::vector<ProcThreadStat> ProcThreadStat::threadsOf(pid_t pid) {
    std::vector<ProcThreadStat> threads;
    std::error_code error;
    for (const auto& task :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        const ProcThreadStat stat = of(pid, std::stoi(task.path().filename().string()));
        if (stat.read)
            threads.push_back(stat);
    }
    return threads;
}

std::vector<ProcThreadStat> ProcThreadStat::threadsNamed(pid_t pid, const std::string& name) {
    std::vector<ProcThreadStat> named;
    for (const ProcThreadStat& thread : threadsOf(pid))
        if (thread.name == name)
            named.push_back(thread);
    return named;
}

bool ProcThreadStat::showsLevel(int level) const {
    if (level == 0)
        return read && policy == SCHED_IDLE;
    return read && policy == SCHED_OTHER && nice == ThreadPriority::niceOf(level);
}

std::string procStatusField(pid_t pid, pid_t tid, const std::string& label) {
    std::ifstream file(taskPath(pid, tid) + "/status");
    for (std::string line; std::getline(file, line);) {
        if (line.rfind(label + ":", 0) == 0) {
            const auto value = line.find_first_not_of(" \t", label.size() + 1);
            return value == std::string::npos ? std::string() : line.substr(value);
        }
    }
    return {};
}

bool callerMayRaisePriority() {
    bool raised = false;
    std::thread probe([&raised] {
        raised = ::setpriority(PRIO_PROCESS, static_cast<id_t>(ThreadPriority::currentThreadId()),
                               -1) == 0;
    });
    probe.join();
    return raised;
}

bool dropNiceCapability() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    data[CAP_SYS_NICE / 32].effective &= ~(1u << (CAP_SYS_NICE % 32));
    return ::syscall(SYS_capset, &header, data) == 0;
}
