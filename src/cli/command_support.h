#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/analysis/line_channels.h"
#include "core/record/number_text.h"
#include "core/record/record_config.h"
#include "core/session/record_session.h"

namespace faultscope::cli {

// Wrong arguments: the message and the usage go to standard error, and the exit status is 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Standard output refused a write (a full disk, a closed pipe).
class OutputError : public std::runtime_error {
  public:
    OutputError() : std::runtime_error("не удалось записать результат в стандартный вывод") {}
};

// Stops at the first write the stream refuses, instead of computing output nobody receives.
void CheckWritten(std::ostream& out);

// The same appended to a line being built, without a string of its own; an angle with six
// decimals kept below 360 as RoundedAngle keeps it (65535 stays as it is).
void AppendFixed6(std::string& line, double v);
void AppendAngle(std::string& line, double angle);

// A date-time given in microseconds since 1970 as "yyyy-mm-dd hh:mm:ss.ffffff", as `info` writes
// its dates but to the microsecond.
[[nodiscard]] std::string IsoMicroseconds(std::int64_t us);

// A recorded analog channel by its identifier (exactly, then without blanks around) or by its
// number; nothing when the record has none of that name.
[[nodiscard]] std::optional<std::size_t> FindChannel(const RecordConfig& cfg,
                                                     const std::string& id);

// The channels of phases A, B and C named by `option` (three identifiers or numbers). Throws
// UsageError for a name the record lacks.
[[nodiscard]] std::array<std::size_t, 3> FindPhaseChannels(const RecordConfig& cfg,
                                                           const std::string& option,
                                                           const std::vector<std::string>& ids);

// The line's voltage and current channels with the factors of their units. Throws UsageError
// when a voltage's unit is not V or kV or a current's not A or kA (with their milli forms).
[[nodiscard]] LineChannels MakeLineChannels(const LoadedRecord& record,
                                            const std::array<std::size_t, 3>& voltages,
                                            const std::array<std::size_t, 3>& currents);

}  // namespace faultscope::cli
