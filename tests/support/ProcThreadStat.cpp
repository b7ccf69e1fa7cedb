#include "support/ProcThreadStat.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

ProcThreadStat ProcThreadStat::of(pid_t tid) {
    return of(::getpid(), tid);
}

ProcThreadStat ProcThreadStat::of(pid_t pid, pid_t tid) {
    ProcThreadStat stat;
    std::ifstream file("/proc/" + std::to_string(pid) + "/task/" + std::to_string(tid) + "/stat");
    std::string line;
    if (!std::getline(file, line))
        return stat;
    // The command name may hold spaces; fields are counted after its closing bracket.
    const auto close = line.rfind(')');
    std::istringstream rest(line.substr(close + 2));
    std::vector<std::string> fields{"pid", "comm"};
    for (std::string field; rest >> field;)
        fields.push_back(field);
    if (fields.size() < 41)
        return stat;
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
