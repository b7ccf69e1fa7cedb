#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <sys/types.h>
#include <vector>

// A thread's scheduling as the kernel reports it in /proc/self/task/<tid>/stat.
struct ProcThreadStat {
    int nice = 0;   // field 19
    int policy = 0; // field 41
    bool read = false;

    static ProcThreadStat of(pid_t tid) {
        ProcThreadStat stat;
        std::ifstream file("/proc/self/task/" + std::to_string(tid) + "/stat");
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
};
