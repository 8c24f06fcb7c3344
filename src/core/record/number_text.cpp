#include "core/record/number_text.h"

#include <charconv>

namespace faultscope {

std::string ShortestNumber(double v) {
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, end);
}

std::string Fixed6(double v) {
    char buf[400];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
    return ec == std::errc() ? std::string(buf, end) : ShortestNumber(v);
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

}  // namespace faultscope
