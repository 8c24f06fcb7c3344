#include "core/formula/formula_lexer.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <limits>
#include <utility>

#include "core/formula/formula_error.h"

namespace faultscope {
namespace {

constexpr const char* kRemarkError = "Error in remark";
constexpr const char* kIntegerError = "Type of expression must be integer";

bool IsLetter(char c) noexcept {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

int HexDigit(char c) noexcept {
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

char Lower(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

Word FindWord(std::string_view name) noexcept {
    static constexpr std::array<std::pair<std::string_view, Word>, 12> kWords{{
        {"true", Word::True},
        {"false", Word::False},
        {"or", Word::Or},
        {"and", Word::And},
        {"not", Word::Not},
        {"div", Word::Div},
        {"mod", Word::Mod},
        {"shl", Word::Shl},
        {"shr", Word::Shr},
        {"xor", Word::Xor},
        {"begin", Word::Begin},
        {"end", Word::End},
    }};
    for (const auto& [text, word] : kWords) {
        if (EqualsIgnoringCase(name, text)) {
            return word;
        }
    }
    return Word::Other;
}

bool IsReserved(std::string_view name) noexcept {
    static constexpr std::string_view kOthers[] = {
        "if",        "then",           "else",      "while",    "do",
        "repeat",    "until",          "procedure", "function", "for",
        "to",        "break",          "continue",  "var",      "try",
        "finally",   "except",         "on",        "raise",    "external",
        "unit",      "uses",           "const",     "public",   "private",
        "protected", "published",      "property",  "class",    "type",
        "interface", "implementation", "exit",      "array",    "of",
        "case",      "program",        "in",        "record",   "downto",
    };
    for (std::string_view word : kOthers) {
        if (EqualsIgnoringCase(name, word)) {
            return true;
        }
    }
    return FindWord(name) != Word::Other;
}

// A character code as UTF-8; codes that name no character are refused.
void AppendCodePoint(std::string& text, std::uint32_t code) {
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        throw FormulaError("Invalid character code");
    }
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void SetWholeLiteral(Variant& value, std::uint64_t whole) {
    if (whole > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        throw FormulaError(kIntegerError);
    }
    value.SetWhole(static_cast<std::int64_t>(whole));
}

void SetRealLiteral(Variant& value, std::string_view raw) {
    std::string_view digits = raw;
    if (digits.back() == '.') {
        digits.remove_suffix(1);
    }
    double real = 0.0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), real);
    if (ec == std::errc::result_out_of_range) {
        // Below 1 the literal can only underflow, which reads as zero.
        if (raw.find_first_not_of("0.") < raw.find('.')) {
            throw FormulaError("'" + std::string(raw) + "' is not a valid floating point value");
        }
        real = 0.0;
    }
    value.SetReal(real);
}

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string DescribeToken(const Token& token) {
    if (token.kind == TokenKind::End) {
        return "end of file";
    }
    std::string text(1, '\'');
    text.append(token.raw);
    text += '\'';
    return text;
}

FormulaLexer::FormulaLexer(std::string_view source) : source_(source) {
    Advance();
}

char FormulaLexer::At(std::size_t i) const noexcept {
    return i < source_.size() ? source_[i] : '\0';
}

void FormulaLexer::Advance() {
    // A malformed comment is reported where the blanks before it begin.
    token_.raw = source_.substr(pos_, 0);
    SkipBlanksAndComments();
    token_.kind = TokenKind::End;
    token_.raw = source_.substr(pos_, 0);
    if (pos_ >= source_.size()) {
        return;
    }
    const std::size_t start = pos_;
    const char c = source_[pos_];
    if (IsLetter(c)) {
        ReadName();
    } else if (IsDigit(c)) {
        ReadNumber();
    } else if (c == '$' && HexDigit(At(pos_ + 1)) >= 0) {
        ReadHexNumber();
    } else if (c == '\'' || (c == '#' && IsDigit(At(pos_ + 1)))) {
        ReadText();
    } else {
        ReadSymbol();
    }
    token_.raw = source_.substr(start, pos_ - start);
}

void FormulaLexer::SkipBlanksAndComments() {
    while (pos_ < source_.size()) {
        const char c = source_[pos_];
        const char next = At(pos_ + 1);
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++pos_;
        } else if (c == '{') {
            SkipPast("}");
        } else if (c == '(' && next == '*') {
            pos_ += 1;
            SkipPast("*)");
        } else if (c == '/' && next == '/') {
            while (pos_ < source_.size() && source_[pos_] != '\r' && source_[pos_] != '\n') {
                ++pos_;
            }
        } else if (c == '}' || (c == '*' && next == ')')) {
            throw FormulaError(kRemarkError);
        } else {
            return;
        }
    }
}

void FormulaLexer::SkipPast(std::string_view end) {
    const std::size_t found = source_.find(end, pos_ + 1);
    if (found == std::string_view::npos) {
        throw FormulaError(kRemarkError);
    }
    pos_ = found + end.size();
}

void FormulaLexer::ReadName() {
    const std::size_t start = pos_;
    while (pos_ < source_.size() && (IsLetter(source_[pos_]) || IsDigit(source_[pos_]))) {
        ++pos_;
    }
    const std::string_view name = source_.substr(start, pos_ - start);
    if (!IsReserved(name)) {
        token_.kind = TokenKind::Name;
        return;
    }
    token_.kind = TokenKind::Word;
    token_.word = FindWord(name);
}

void FormulaLexer::ReadNumber() {
    const std::size_t start = pos_;
    std::uint64_t whole = 0;
    bool tooLarge = false;
    for (; IsDigit(At(pos_)); ++pos_) {
        const auto digit = static_cast<std::uint64_t>(source_[pos_] - '0');
        tooLarge = tooLarge || __builtin_mul_overflow(whole, 10U, &whole) ||
                   __builtin_add_overflow(whole, digit, &whole);
    }
    token_.kind = TokenKind::Number;
    // "1..2" is a range, not the real "1." followed by ".2".
    if (At(pos_) != '.' || At(pos_ + 1) == '.') {
        if (tooLarge) {
            throw FormulaError(kIntegerError);
        }
        SetWholeLiteral(token_.value, whole);
        return;
    }
    ++pos_;
    while (IsDigit(At(pos_))) {
        ++pos_;
    }
    SetRealLiteral(token_.value, source_.substr(start, pos_ - start));
}

void FormulaLexer::ReadHexNumber() {
    ++pos_;
    std::uint64_t whole = 0;
    bool tooLarge = false;
    for (int digit = HexDigit(At(pos_)); digit >= 0; digit = HexDigit(At(++pos_))) {
        tooLarge = tooLarge || (whole >> 60) != 0;
        whole = (whole << 4) | static_cast<std::uint64_t>(digit);
    }
    if (tooLarge) {
        throw FormulaError(kIntegerError);
    }
    token_.kind = TokenKind::Number;
    SetWholeLiteral(token_.value, whole);
}

void FormulaLexer::ReadText() {
    std::string text;
    while (true) {
        if (At(pos_) == '\'') {
            ReadQuoted(text);
        } else if (At(pos_) == '#' && IsDigit(At(pos_ + 1))) {
            ReadCharCode(text);
        } else {
            break;
        }
    }
    token_.kind = TokenKind::Text;
    token_.value.SetText(text);
}

void FormulaLexer::ReadQuoted(std::string& text) {
    ++pos_;
    while (true) {
        if (pos_ >= source_.size() || source_[pos_] == '\r' || source_[pos_] == '\n') {
            throw FormulaError("Unterminated string");
        }
        const char c = source_[pos_++];
        if (c != '\'') {
            text += c;
        } else if (At(pos_) == '\'') {
            text += '\'';
            ++pos_;
        } else {
            return;
        }
    }
}

void FormulaLexer::ReadCharCode(std::string& text) {
    ++pos_;
    std::uint32_t code = 0;
    for (; IsDigit(At(pos_)); ++pos_) {
        code = code > 0x10FFFF ? code : code * 10 + static_cast<std::uint32_t>(source_[pos_] - '0');
    }
    AppendCodePoint(text, code);
}

void FormulaLexer::ReadSymbol() {
    static constexpr std::array<std::pair<std::string_view, Symbol>, 19> kSymbols{{
        {"<=", Symbol::LessEqual},  {">=", Symbol::GreaterEqual}, {"<>", Symbol::NotEqual},
        {"..", Symbol::DotDot},     {"(", Symbol::LeftParen},     {")", Symbol::RightParen},
        {"[", Symbol::LeftBracket}, {"]", Symbol::RightBracket},  {",", Symbol::Comma},
        {";", Symbol::Semicolon},   {":", Symbol::Colon},         {".", Symbol::Dot},
        {"+", Symbol::Plus},        {"-", Symbol::Minus},         {"*", Symbol::Star},
        {"/", Symbol::Slash},       {"=", Symbol::Equal},         {"<", Symbol::Less},
        {">", Symbol::Greater},
    }};
    const std::string_view rest = source_.substr(pos_);
    for (const auto& [text, symbol] : kSymbols) {
        if (rest.starts_with(text)) {
            token_.kind = TokenKind::Symbol;
            token_.symbol = symbol;
            pos_ += text.size();
            return;
        }
    }
    ReadUnknown();
}

// A character outside the language, taken whole when it is a multi-byte UTF-8 character so that
// a message can show it.
void FormulaLexer::ReadUnknown() {
    token_.kind = TokenKind::Unknown;
    ++pos_;
    while (pos_ < source_.size() && (static_cast<unsigned char>(source_[pos_]) & 0xC0) == 0x80) {
        ++pos_;
    }
}

}  // namespace faultscope
