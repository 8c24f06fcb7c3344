#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/record/date_time.h"
#include "core/record/record_config.h"

namespace faultscope {

// Fills `cfg` from the lines of a configuration file. Returns false with `cfg.LastError` set
// when the file breaks one of the record model's rules; raises LoadError when a field does not
// convert, a line is missing, or a date line is malformed.
bool ParseCfgFile(RecordConfig& cfg, const std::vector<std::string>& lines);

// Converts a date-time line: day/month/year,hour:minute:second.fraction (month and day are
// swapped when the month is above 12). Raises LoadError.
DateTime CfgStrToDateTime(std::string_view text);

}  // namespace faultscope
