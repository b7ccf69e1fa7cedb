#include "clock/RepaintTrace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {
std::FILE* openTrace() {
    const char* path = std::getenv("HOURLING_TRACE_REPAINT");
    return path && *path ? std::fopen(path, "a") : nullptr;
}
} // namespace

void RepaintTrace::mark() {
    static std::FILE* const trace = openTrace();
    if (!trace)
        return;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::fprintf(trace, "%lld\n", static_cast<long long>(std::chrono::nanoseconds(now).count()));
    std::fflush(trace);
}
