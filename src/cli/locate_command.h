#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

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

// A line's fault as `locate` finds it: where it was evaluated and what was found there, or why
// nothing was.
struct LineFault {
    std::optional<FaultLocation> location;
    double timeMs = 0.0;  // the evaluation instant, when there is a location
    std::string reason;   // the user's message, when there is none
};

// The fault on `line` at the sample nearest to `timeMs`, or one and a half cycles after the
// inception without it. Throws LoadError, naming `channelId`, when the record's times or
// frequency refuse the analysis.
[[nodiscard]] LineFault LocateLineFault(const LoadedRecord& record, const LineChannels& line,
                                        const LineModel& model, std::optional<double> timeMs,
                                        std::string_view channelId);

// `locate`: the fault's type and distance as CSV `type,time_ms,distance_km,percent,r,x` with one
// row. Returns 0, or 1 with the reason on `err` when no fault is found. Throws UsageError for
// channels whose units are not those of voltages and currents.
int PrintFaultLocation(const LoadedRecord& record, const LocateRequest& request, std::ostream& out,
                       std::ostream& err);

}  // namespace faultscope::cli
