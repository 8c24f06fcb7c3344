#pragma once

#include <string>

namespace faultscope {

// A number in its shortest form that reads back exactly.
[[nodiscard]] std::string ShortestNumber(double v);
// A number with six decimals, as CSV columns print values and times.
[[nodiscard]] std::string Fixed6(double v);
// A CSV field: as it is, or in double quotes (doubled inside) when it holds a comma, a quote or
// a line break.
[[nodiscard]] std::string CsvField(const std::string& text);

}  // namespace faultscope
