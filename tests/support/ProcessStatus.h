#pragma once
// Figures of this process as Linux reports them in /proc/self/status, for the memory measures
// of the benchmarks, the soak and the hardening tests.

#include <fstream>
#include <string>

// The figure of `field` ("VmRSS", "VmSize"...) in kilobytes, or -1 when there is none.
inline long ProcessStatusKilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    const std::string prefix = field + ':';
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0)
            return std::stol(line.substr(prefix.size()));
    return -1;
}

// The resident set size in kilobytes, or -1.
inline long ResidentKilobytes() {
    return ProcessStatusKilobytes("VmRSS");
}
