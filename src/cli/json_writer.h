#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace faultscope::cli {

// Builds one JSON text in memory, for output a line at a time (JSON Lines). The caller nests
// objects and arrays correctly; the writer puts the commas and the colons.
//
// Strings are written as UTF-8: a quote, a backslash and the control characters are escaped
// (the latter as \u00XX), other characters are kept as they are, and a byte that is not part of
// valid UTF-8 (a file name need not be text) becomes \ufffd, so the result is always valid JSON.
// Numbers are written in their shortest form that reads back exactly; a number that is not
// finite has no JSON form and is written as null.
class JsonWriter {
  public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The name of the next value within an object.
    void Key(std::string_view name);

    void String(std::string_view text);
    void Number(double value);
    void Integer(std::uint64_t value);
    void Null();

    // A key with its value.
    void Field(std::string_view name, std::string_view text);
    void Field(std::string_view name, double value);
    void Field(std::string_view name, std::uint64_t value);
    void NullField(std::string_view name);

    [[nodiscard]] const std::string& Text() const noexcept { return text_; }
    [[nodiscard]] std::string Take() noexcept { return std::move(text_); }

  private:
    // Puts the comma before a value that follows another one in its object or array.
    void StartValue();
    void AppendString(std::string_view text);

    std::string text_;
    // Per open object or array: whether a value has been written into it yet.
    std::vector<bool> filled_;
    bool afterKey_ = false;
};

}  // namespace faultscope::cli
