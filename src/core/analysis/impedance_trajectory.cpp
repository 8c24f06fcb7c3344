#include "core/analysis/impedance_trajectory.h"

#include <algorithm>
#include <cmath>

namespace faultscope {
namespace {

// The cycle a sample lies in, counted from the record's first sample.
std::int64_t CycleOf(std::span<const double> xMs, double periodMs, std::size_t i) noexcept {
    return static_cast<std::int64_t>(std::floor((xMs[i] - xMs.front()) / periodMs));
}

}  // namespace

ImpedanceTrajectory TrajectoryOf(std::span<const std::optional<Phasor>> series,
                                 std::span<const double> xMs, double frequency, std::size_t first,
                                 std::size_t last) {
    ImpedanceTrajectory trajectory;
    const std::size_t n = std::min(series.size(), xMs.size());
    if (n == 0 || first > last || first >= n || !(frequency > 0.0)) {
        return trajectory;
    }
    last = std::min(last, n - 1);
    const std::size_t count = last - first + 1;
    const std::size_t step =
        (count + ImpedanceTrajectory::kMaxPathPoints - 1) / ImpedanceTrajectory::kMaxPathPoints;
    bool broken = true;
    for (std::size_t i = first; i <= last; ++i) {
        if (!series[i]) {
            broken = true;
            continue;
        }
        if ((i - first) % step == 0 || i == last) {
            trajectory.path.push_back({i, *series[i], !broken});
            broken = false;
        }
    }
    const double periodMs = 1000.0 / frequency;
    const std::int64_t firstCycle = CycleOf(xMs, periodMs, first);
    const std::int64_t cycles = CycleOf(xMs, periodMs, last) - firstCycle + 1;
    const auto cyclesPerDot = std::max<std::int64_t>(
        1, (cycles + static_cast<std::int64_t>(ImpedanceTrajectory::kMaxCycleDots) - 1) /
               static_cast<std::int64_t>(ImpedanceTrajectory::kMaxCycleDots));
    std::int64_t lastCycle = -1;
    for (std::size_t i = first; i <= last; ++i) {
        const std::int64_t cycle = CycleOf(xMs, periodMs, i) - firstCycle;
        if (cycle == lastCycle || cycle % cyclesPerDot != 0) {
            continue;
        }
        lastCycle = cycle;
        if (series[i]) {
            trajectory.dots.push_back({i, *series[i], false});
        }
    }
    return trajectory;
}

}  // namespace faultscope
