#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "core/analysis/fault_location.h"
#include "core/analysis/line_channels.h"

namespace faultscope {

// A line fault as found in a record: where it was evaluated, its type and distance, or why
// nothing could be found (the reason the user is told, in Russian).
struct FaultReport {
    std::optional<std::size_t> sample;  // the evaluation instant, once one was found
    std::optional<FaultLocation> location;
    std::string reason;  // empty when `location` is set
};

// Finds the pre-fault currents, then evaluates at the sample nearest `timeMs`, or, without one,
// nearest kEvaluationDelayCycles after the fault's inception: classifies the fault by its phase
// currents and locates it on `model`. Throws LoadError as CalcHarmonicSums does.
[[nodiscard]] FaultReport ReportFault(std::span<const double> xMs, bool timeAscending,
                                      const LineChannels& line, double frequency,
                                      const LineModel& model, std::optional<double> timeMs);

}  // namespace faultscope
