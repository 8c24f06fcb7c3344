#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace faultscope {

// Cuts the text before the first `delim` out of `rest` and leaves the text after it in `rest`.
// When `delim` does not occur the token is empty and `rest` stays as it is.
std::string_view CutToken(std::string_view& rest, char delim) noexcept;

inline bool Contains(std::string_view text, std::string_view part) noexcept {
    return text.find(part) != std::string_view::npos;
}

// Blanks (spaces and tabs) removed from both ends.
std::string_view TrimBlanks(std::string_view text) noexcept;

// Number conversions of record files: blanks around the number and a leading sign are
// accepted; decimals use "." and may carry an exponent. Anything else, an empty field, a
// value out of range or a value that is not finite fails.
bool ParseInt64(std::string_view text, std::int64_t& value) noexcept;
bool ParseDouble(std::string_view text, double& value) noexcept;

// The same conversions, raising LoadError with a Russian message that quotes the text.
std::int64_t ToInteger(std::string_view text, std::int64_t min, std::int64_t max);
double ToDecimal(std::string_view text);

std::string AsciiLower(std::string_view text);

}  // namespace faultscope
