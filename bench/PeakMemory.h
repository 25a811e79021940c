#pragma once

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <cstdlib>
#include <fstream>
#include <string>
#endif

namespace tess::bench {

// The process's peak resident memory since it started or since the last resetPeakMemory(), in
// MB (0 when unknown). Windows keeps one peak for the process's life: there the reset does
// nothing and the peak counts from the start.
inline double peakMemoryMb() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return double(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
#else
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    }
    return 0;
#endif
}

inline void resetPeakMemory() {
#ifndef _WIN32
    std::ofstream("/proc/self/clear_refs") << "5";
#endif
}

} // namespace tess::bench
