#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

namespace tess::bench {

// The process's peak resident memory since it started or since the last resetPeakMemory(), in
// MB (0 when unknown).
inline double peakMemoryMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    }
    return 0;
}

inline void resetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace tess::bench
