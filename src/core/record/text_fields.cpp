#include "core/record/text_fields.h"

#include <charconv>
#include <cmath>

#include "core/record/load_error.h"

namespace faultscope {

std::string_view CutToken(std::string_view& rest, char delim) noexcept {
    const std::size_t pos = rest.find(delim);
    if (pos == std::string_view::npos) {
        return {};
    }
    const std::string_view token = rest.substr(0, pos);
    rest.remove_prefix(pos + 1);
    return token;
}

std::string_view TrimBlanks(std::string_view text) noexcept {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

namespace {

// Strips blanks and a leading "+" (from_chars takes "-" but not "+").
std::string_view PrepareNumber(std::string_view text) noexcept {
    text = TrimBlanks(text);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+') {
        text.remove_prefix(1);
    }
    return text;
}

}  // namespace

bool ParseInt64(std::string_view text, std::int64_t& value) noexcept {
    text = PrepareNumber(text);
    if (text.empty()) {
        return false;
    }
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

bool ParseDouble(std::string_view text, double& value) noexcept {
    text = PrepareNumber(text);
    if (text.empty()) {
        return false;
    }
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::general);
    return ec == std::errc() && ptr == end && std::isfinite(value);
}

std::int64_t ToInteger(std::string_view text, std::int64_t min, std::int64_t max) {
    std::int64_t value = 0;
    if (!ParseInt64(text, value) || value < min || value > max) {
        throw LoadError("«" + std::string(text) + "» не является допустимым целым числом");
    }
    return value;
}

double ToDecimal(std::string_view text) {
    double value = 0;
    if (!ParseDouble(text, value)) {
        throw LoadError("«" + std::string(text) + "» не является допустимым числом");
    }
    return value;
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

}  // namespace faultscope
