#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>

#include "core/analysis/fault_location.h"
#include "core/analysis/line_channels.h"
#include "core/session/record_loader.h"
#include "core/viewtemplate/fault_location_settings.h"

namespace faultscope {
class IniStore;
}

namespace faultscope::cli {

// The section of a record's view template (".lyt") that describes the line the record watches:
// R1, X1, R0, X0 in ohms per km, LengthKm, and Voltages and Currents, each the identifiers (or
// numbers) of the channels of phases A, B and C joined by ",". Numbers take "." or "," as the
// decimal separator.
inline constexpr const char* kLineDataSection = FaultLocationSettings::kSection;

// Line data that is there but cannot be used; the message says why, in the user's words.
class LineDataError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A line as its record's view template describes it.
struct LineData {
    LineModel line;
    std::array<std::string, 3> voltages;
    std::array<std::string, 3> currents;
};

// The line data of a template; nothing when it has no such section. Throws LineDataError when a
// key is missing or unreadable, a list does not name three channels, X1 is zero or the length
// is not positive.
[[nodiscard]] std::optional<LineData> ReadLineData(const IniStore& ini);

// The line's channels in the record with the factors of their units. Throws LineDataError for
// a channel the record lacks, or one whose unit is not that of a voltage (V, kV) or a current
// (A, kA) as its list says.
[[nodiscard]] LineChannels FindLineChannels(const LoadedRecord& record, const LineData& data);

}  // namespace faultscope::cli
