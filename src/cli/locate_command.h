#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <ostream>

#include "core/analysis/fault_location.h"
#include "core/session/record_session.h"

namespace faultscope::cli {

struct LocateRequest {
    std::array<std::size_t, 3> voltages{};
    std::array<std::size_t, 3> currents{};
    LineModel line;                // X1 per km and the length are not zero
    std::optional<double> timeMs;  // the evaluation instant; one and a half cycles after the
                                   // inception without it
};

// `locate`: the fault's type and distance as CSV `type,time_ms,distance_km,percent,r,x` with one
// row. Returns 0, or 1 with the reason on `err` when no fault is found. Throws UsageError for
// channels whose units are not those of voltages and currents.
int PrintFaultLocation(const LoadedRecord& record, const LocateRequest& request, std::ostream& out,
                       std::ostream& err);

}  // namespace faultscope::cli
