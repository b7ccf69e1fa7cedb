#include "clock/RepaintTrace.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {
std::FILE* openTrace() {
    const char* path = std::getenv("HOURLING_TRACE_REPAINT");
    return path && *path ? std::fopen(path, "a") : nullptr;
}

std::FILE* trace() {
    static std::FILE* const file = openTrace();
    return file;
}

long long nowNs() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<long long>(std::chrono::nanoseconds(now).count());
}

std::atomic<long long> wokeNs{0};
} // namespace

void RepaintTrace::woke() {
    if (trace())
        wokeNs = nowNs();
}

void RepaintTrace::mark() {
    std::FILE* const file = trace();
    if (!file)
        return;
    std::fprintf(file, "%lld %lld\n", nowNs(), wokeNs.load());
    std::fflush(file);
}
