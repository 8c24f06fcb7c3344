#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <ostream>

#include "core/analysis/loop_impedance.h"
#include "core/session/record_session.h"

namespace faultscope::cli {

struct ImpedanceRequest {
    FaultLoop loop = FaultLoop::AN;
    std::array<std::size_t, 3> voltages{};
    std::array<std::size_t, 3> currents{};
    std::optional<LineImpedance> line;  // k0 = 0 without it
};

// `impedance`: the loop's impedance in ohms at every sample as CSV `sample,time_ms,r,x`, r and x
// empty where it is undefined (ImpedanceSeries). Throws UsageError for channels whose units are
// not those of voltages and currents.
void PrintImpedance(const LoadedRecord& record, const ImpedanceRequest& request, std::ostream& out);

}  // namespace faultscope::cli
