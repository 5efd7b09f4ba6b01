#pragma once

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <string>
#include <utility>

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

struct Clocks {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();
    // Seconds of wall time and of process CPU time since construction.
    std::pair<double, double> elapsed() const {
        return {std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count(),
                static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC};
    }
};

// The bytes by which running command raised the resident size at its peak, or a negative number
// when the peak cannot be measured.
template <class Command>
double peakGrowth(Command&& command) {
    malloc_trim(0);
    const double before = statusBytes("VmRSS");
    const bool known = resetPeak();
    command();
    return known ? statusBytes("VmHWM") - before : -1;
}

// Each iteration runs requery and then command, so that both meet the same load of the machine;
// the counters give name's time and its ratios to the requery's, of the sums.
template <class Requery, class Command>
void timeAgainstRequery(benchmark::State& state, const std::string& name, Requery&& requery,
                        Command&& command) {
    double requeryWall = 0, requeryCpu = 0, commandWall = 0, commandCpu = 0;
    for (auto _ : state) {
        const Clocks requeryClocks;
        requery();
        const auto [rw, rc] = requeryClocks.elapsed();
        const Clocks commandClocks;
        command();
        const auto [cw, cc] = commandClocks.elapsed();
        requeryWall += rw;
        requeryCpu += rc;
        commandWall += cw;
        commandCpu += cc;
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["requeryMs"] = requeryWall / runs * 1000;
    state.counters[name + "Ms"] = commandWall / runs * 1000;
    state.counters[name + "PerRequery"] = commandWall / requeryWall;
    state.counters[name + "PerRequeryCpu"] = commandCpu / requeryCpu;
}

}  // namespace benchsupport
