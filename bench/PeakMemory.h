#pragma once

#include <fstream>
#include <string>

namespace benchsupport {

// A field of /proc/self/status in bytes ("VmRSS", "VmHWM"); 0 where it cannot be read.
inline double statusBytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1)) * 1024;
    return 0;
}

// Starts the peak resident size afresh from the current one.
inline bool resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear.flush());
}

}  // namespace benchsupport
