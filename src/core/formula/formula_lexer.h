#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/formula/variant.h"

namespace faultscope {

enum class TokenKind : std::uint8_t { End, Name, Word, Number, Text, Symbol, Unknown };

// The reserved words the expression grammar gives a meaning to; every other reserved word is
// `Other`, which only stops a name from being used.
enum class Word : std::uint8_t {
    True,
    False,
    Or,
    And,
    Not,
    Div,
    Mod,
    Shl,
    Shr,
    Xor,
    Begin,
    End,
    Other,
};

enum class Symbol : std::uint8_t {
    LeftParen,
    RightParen,
    LeftBracket,
    RightBracket,
    Comma,
    Semicolon,
    Colon,
    Dot,
    DotDot,
    Plus,
    Minus,
    Star,
    Slash,
    Equal,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    NotEqual,
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string_view raw;  // the token as written
    Word word = Word::Other;
    Symbol symbol = Symbol::Dot;
    Variant value;  // of a number or a text

    [[nodiscard]] bool Is(Symbol s) const noexcept {
        return kind == TokenKind::Symbol && symbol == s;
    }
    [[nodiscard]] bool Is(Word w) const noexcept { return kind == TokenKind::Word && word == w; }
};

// Splits a script into tokens one at a time, skipping blanks and comments. Throws FormulaError
// for a malformed comment, text or number.
class FormulaLexer {
  public:
    explicit FormulaLexer(std::string_view source);

    [[nodiscard]] const Token& Current() const noexcept { return token_; }
    void Advance();

  private:
    void SkipBlanksAndComments();
    void SkipPast(std::string_view end);
    void ReadName();
    void ReadNumber();
    void ReadHexNumber();
    void ReadText();
    void ReadQuoted(std::string& text);
    void ReadCharCode(std::string& text);
    void ReadSymbol();
    void ReadUnknown();
    [[nodiscard]] char At(std::size_t i) const noexcept;

    std::string_view source_;
    std::size_t pos_ = 0;
    Token token_;
};

// How an error message names a token: quoted, or "end of file".
std::string DescribeToken(const Token& token);

// Letter case does not matter in names and reserved words.
bool EqualsIgnoringCase(std::string_view a, std::string_view b) noexcept;

}  // namespace faultscope
