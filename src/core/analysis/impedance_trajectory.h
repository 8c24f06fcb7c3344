#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "core/analysis/fundamental_phasor.h"

namespace faultscope {

// A point an R-X plane draws: the impedance (ohms) of one sample.
struct TrajectoryPoint {
    std::size_t sample = 0;
    Phasor z;
    // Drawn joined to the point before it: no undefined impedance lies between them.
    bool joined = false;
};

// What an R-X plane draws of a part of an impedance series: the trajectory as a line through at
// most kMaxPathPoints of its samples, and one dot per cycle of the line frequency (fewer, evenly
// spread, when more than kMaxCycleDots cycles are shown), so that drawing it costs the same for
// any length of record or range. Samples without an impedance are left out, and the line breaks
// over them.
struct ImpedanceTrajectory {
    static constexpr std::size_t kMaxPathPoints = 4000;
    static constexpr std::size_t kMaxCycleDots = 400;

    std::vector<TrajectoryPoint> path;
    std::vector<TrajectoryPoint> dots;
};

// The trajectory of `series` (the impedance of each sample of the record, times `xMs`) over the
// samples first..last inclusive; a dot stands on the first sample of each cycle, cycles counted
// in time from the record's first sample at `frequency`.
[[nodiscard]] ImpedanceTrajectory TrajectoryOf(std::span<const std::optional<Phasor>> series,
                                               std::span<const double> xMs, double frequency,
                                               std::size_t first, std::size_t last);

}  // namespace faultscope
