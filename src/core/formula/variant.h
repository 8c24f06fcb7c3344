#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace faultscope {

enum class VariantKind : std::uint8_t { Empty, Null, Boolean, Integer, LongInt, Real, Text };

// One value of the formula language. Copying a number never touches the text member, so a slot
// of the evaluator's operand stack keeps its text capacity from run to run.
class Variant {
  public:
    Variant() = default;
    Variant(const Variant& other) { *this = other; }
    Variant& operator=(const Variant& other);

    static Variant Null();
    static Variant Boolean(bool value);
    static Variant Integer(std::int32_t value);
    static Variant LongInt(std::int64_t value);
    static Variant Real(double value);
    static Variant Text(std::string_view value);
    // The narrowest integer kind that holds the value.
    static Variant Whole(std::int64_t value);

    void SetEmpty() noexcept { kind_ = VariantKind::Empty; }
    void SetNull() noexcept { kind_ = VariantKind::Null; }
    void SetBoolean(bool value) noexcept;
    void SetInteger(std::int32_t value) noexcept;
    void SetLongInt(std::int64_t value) noexcept;
    void SetReal(double value) noexcept;
    void SetText(std::string_view value);
    void SetWhole(std::int64_t value) noexcept;

    [[nodiscard]] VariantKind Kind() const noexcept { return kind_; }
    // Integer, long integer or real.
    [[nodiscard]] bool IsNumber() const noexcept;
    // Integer or long integer.
    [[nodiscard]] bool IsWhole() const noexcept;
    [[nodiscard]] bool BooleanValue() const noexcept { return whole_ != 0; }
    // The integer of an integer or long integer, and -1 or 0 for a boolean.
    [[nodiscard]] std::int64_t WholeValue() const noexcept { return whole_; }
    [[nodiscard]] double RealValue() const noexcept { return real_; }
    [[nodiscard]] const std::string& TextValue() const noexcept { return text_; }

    friend bool operator==(const Variant& a, const Variant& b);

  private:
    VariantKind kind_ = VariantKind::Empty;
    std::int64_t whole_ = 0;
    double real_ = 0.0;
    std::string text_;
};

std::string_view KindName(VariantKind kind) noexcept;

// The value as a number where a number is needed: a boolean counts as -1 or 0, empty as 0, a
// text is read as a decimal number in the user's locale. Throws FormulaError for a null or a
// text that is not a number.
double ToDouble(const Variant& value);

// Reads a text as a number in the user's locale: false when it is none. A whole number gives an
// integer kind, any other a real.
bool TextToNumber(std::string_view text, Variant& number);

std::ostream& operator<<(std::ostream& out, const Variant& value);

}  // namespace faultscope
