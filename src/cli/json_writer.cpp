#include "cli/json_writer.h"

#include <charconv>
#include <cmath>

namespace faultscope::cli {
namespace {

constexpr std::string_view kReplacement = "\\ufffd";

// The length of the valid UTF-8 sequence at the start of `text`; 0 when it is not one (a stray
// continuation byte, a sequence cut short, an overlong form, a surrogate or a code point beyond
// U+10FFFF).
std::size_t ValidSequenceLength(std::string_view text) noexcept {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80;  // the range of the second byte, narrower after some leads
    unsigned char high = 0xBF;
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

}  // namespace

void JsonWriter::StartValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!filled_.empty()) {
        if (filled_.back()) {
            text_ += ',';
        }
        filled_.back() = true;
    }
}

void JsonWriter::BeginObject() {
    StartValue();
    text_ += '{';
    filled_.push_back(false);
}

void JsonWriter::EndObject() {
    text_ += '}';
    filled_.pop_back();
}

void JsonWriter::BeginArray() {
    StartValue();
    text_ += '[';
    filled_.push_back(false);
}

void JsonWriter::EndArray() {
    text_ += ']';
    filled_.pop_back();
}

void JsonWriter::Key(std::string_view name) {
    StartValue();
    AppendString(name);
    text_ += ':';
    afterKey_ = true;
}

void JsonWriter::String(std::string_view text) {
    StartValue();
    AppendString(text);
}

void JsonWriter::Number(double value) {
    if (!std::isfinite(value)) {
        Null();
        return;
    }
    StartValue();
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    text_.append(buf, end);
}

void JsonWriter::Integer(std::uint64_t value) {
    StartValue();
    char buf[24];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    text_.append(buf, end);
}

void JsonWriter::Null() {
    StartValue();
    text_ += "null";
}

void JsonWriter::Field(std::string_view name, std::string_view text) {
    Key(name);
    String(text);
}

void JsonWriter::Field(std::string_view name, double value) {
    Key(name);
    Number(value);
}

void JsonWriter::Field(std::string_view name, std::uint64_t value) {
    Key(name);
    Integer(value);
}

void JsonWriter::NullField(std::string_view name) {
    Key(name);
    Null();
}

void JsonWriter::AppendString(std::string_view text) {
    constexpr char kHex[] = "0123456789abcdef";
    text_ += '"';
    while (!text.empty()) {
        const char c = text.front();
        const std::size_t length = ValidSequenceLength(text);
        if (length == 0) {
            text_ += kReplacement;
            text.remove_prefix(1);
            continue;
        }
        if (c == '"' || c == '\\') {
            text_ += '\\';
            text_ += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            text_ += "\\u00";
            text_ += kHex[static_cast<unsigned char>(c) >> 4U];
            text_ += kHex[static_cast<unsigned char>(c) & 0xFU];
        } else {
            text_.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    text_ += '"';
}

}  // namespace faultscope::cli
