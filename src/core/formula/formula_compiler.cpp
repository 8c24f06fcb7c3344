#include "core/formula/formula_compiler.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>

#include "core/formula/formula_error.h"
#include "core/formula/formula_lexer.h"

namespace faultscope {
namespace {

constexpr int kLowestPriority = 2;

struct OperatorInfo {
    BinaryOp op;
    int priority;
};

std::optional<OperatorInfo> WordOperator(Word word) {
    switch (word) {
        case Word::Div:
            return OperatorInfo{BinaryOp::IntDiv, 6};
        case Word::Mod:
            return OperatorInfo{BinaryOp::Mod, 6};
        case Word::Shl:
            return OperatorInfo{BinaryOp::Shl, 6};
        case Word::Shr:
            return OperatorInfo{BinaryOp::Shr, 6};
        case Word::And:
            return OperatorInfo{BinaryOp::And, 5};
        case Word::Or:
            return OperatorInfo{BinaryOp::Or, 4};
        case Word::Xor:
            return OperatorInfo{BinaryOp::Xor, 3};
        default:
            return std::nullopt;
    }
}

std::optional<OperatorInfo> SymbolOperator(Symbol symbol) {
    switch (symbol) {
        case Symbol::Star:
            return OperatorInfo{BinaryOp::Multiply, 6};
        case Symbol::Slash:
            return OperatorInfo{BinaryOp::Divide, 6};
        case Symbol::Plus:
            return OperatorInfo{BinaryOp::Add, 4};
        case Symbol::Minus:
            return OperatorInfo{BinaryOp::Subtract, 4};
        case Symbol::Equal:
            return OperatorInfo{BinaryOp::Equal, 3};
        case Symbol::NotEqual:
            return OperatorInfo{BinaryOp::NotEqual, 3};
        case Symbol::Less:
            return OperatorInfo{BinaryOp::Less, 3};
        case Symbol::Greater:
            return OperatorInfo{BinaryOp::Greater, 3};
        case Symbol::LessEqual:
            return OperatorInfo{BinaryOp::LessEqual, 2};
        case Symbol::GreaterEqual:
            return OperatorInfo{BinaryOp::GreaterEqual, 2};
        default:
            return std::nullopt;
    }
}

// The infix operator a token stands for when it follows an operand.
std::optional<OperatorInfo> InfixOperator(const Token& token) {
    if (token.kind == TokenKind::Word) {
        return WordOperator(token.word);
    }
    if (token.kind == TokenKind::Symbol) {
        return SymbolOperator(token.symbol);
    }
    return std::nullopt;
}

bool StartsOperand(const Token& token) {
    switch (token.kind) {
        case TokenKind::Name:
        case TokenKind::Number:
        case TokenKind::Text:
            return true;
        case TokenKind::Word:
            return token.word == Word::True || token.word == Word::False || token.word == Word::Not;
        case TokenKind::Symbol:
            return token.symbol == Symbol::LeftParen;
        default:
            return false;
    }
}

class Compiler {
  public:
    explicit Compiler(std::string_view source) : source_(source), lexer_(source) {}

    CompiledScript Compile() {
        ParseBlock();
        return std::move(script_);
    }

    // Where the token being read starts: the place of a failure.
    [[nodiscard]] std::size_t Offset() const noexcept {
        return static_cast<std::size_t>(Current().raw.data() - source_.data());
    }

  private:
    void ParseBlock();
    void SkipSemicolons();
    void ParseAssignment();
    void ParseExpression(int minPriority);
    void ParseUnary();
    void ParsePrimary();
    void ParseName();
    std::uint16_t ParseArguments();
    void Expect(Symbol symbol, std::string_view item);
    [[noreturn]] void Fail(std::string_view expected) const;
    void EmitConstant(const Variant& value);
    void Emit(Instruction instruction, int depthChange) {
        Emit(instruction, depthChange, Offset());
    }
    void Emit(Instruction instruction, int depthChange, std::size_t offset);
    void EnterNesting();
    std::uint32_t NameIndex(std::string_view name);

    const Token& Current() const noexcept { return lexer_.Current(); }

    std::string_view source_;
    FormulaLexer lexer_;
    CompiledScript script_;
    std::unordered_map<std::string, std::uint32_t> nameIndex_;
    std::size_t depth_ = 0;
    int nesting_ = 0;
};

void Compiler::ParseBlock() {
    if (!Current().Is(Word::Begin)) {
        Fail("'begin'");
    }
    lexer_.Advance();
    SkipSemicolons();
    if (!Current().Is(Word::End)) {
        ParseAssignment();
        if (!Current().Is(Symbol::Semicolon) && !Current().Is(Word::End)) {
            Fail("';'");
        }
        SkipSemicolons();
    }
    if (!Current().Is(Word::End)) {
        Fail("'end'");
    }
    lexer_.Advance();
    Expect(Symbol::Semicolon, "';'");
    if (Current().kind != TokenKind::End) {
        Fail("end of file");
    }
}

void Compiler::SkipSemicolons() {
    while (Current().Is(Symbol::Semicolon)) {
        lexer_.Advance();
    }
}

void Compiler::ParseAssignment() {
    if (Current().kind != TokenKind::Name) {
        Fail("'end'");
    }
    if (!EqualsIgnoringCase(Current().raw, "result")) {
        throw FormulaError("Undeclared Identifier '" + std::string(Current().raw) + "'");
    }
    lexer_.Advance();
    Expect(Symbol::Colon, "':='");
    Expect(Symbol::Equal, "':='");
    ParseExpression(kLowestPriority);
    Emit({.code = OpCode::StoreResult}, -1);
}

// Precedence climbing: operators of equal priority group from the left.
void Compiler::ParseExpression(int minPriority) {
    ParseUnary();
    while (true) {
        const std::optional<OperatorInfo> infix = InfixOperator(Current());
        if (!infix) {
            if (StartsOperand(Current())) {
                throw FormulaError("Missing operator or semicolon");
            }
            return;
        }
        if (infix->priority < minPriority) {
            return;
        }
        const std::size_t at = Offset();
        lexer_.Advance();
        ParseExpression(infix->priority + 1);
        Emit({.code = OpCode::Binary, .op = infix->op}, -1, at);
    }
}

// Prefix signs and "not" bind more tightly than any infix operator, so they apply to the one
// operand that follows; they are gathered first and emitted innermost first.
void Compiler::ParseUnary() {
    std::vector<OpCode> prefixes;
    while (true) {
        if (Current().Is(Symbol::Minus)) {
            prefixes.push_back(OpCode::Negate);
        } else if (Current().Is(Word::Not)) {
            prefixes.push_back(OpCode::Not);
        } else if (!Current().Is(Symbol::Plus)) {
            break;
        }
        lexer_.Advance();
    }
    ParsePrimary();
    for (auto it = prefixes.rbegin(); it != prefixes.rend(); ++it) {
        Emit({.code = *it}, 0);
    }
}

void Compiler::ParsePrimary() {
    const Token& token = Current();
    if (token.kind == TokenKind::Number || token.kind == TokenKind::Text) {
        EmitConstant(token.value);
        lexer_.Advance();
    } else if (token.Is(Word::True) || token.Is(Word::False)) {
        EmitConstant(Variant::Boolean(token.word == Word::True));
        lexer_.Advance();
    } else if (token.Is(Symbol::LeftParen)) {
        EnterNesting();
        lexer_.Advance();
        ParseExpression(kLowestPriority);
        Expect(Symbol::RightParen, "')'");
        --nesting_;
    } else if (token.kind == TokenKind::Name) {
        ParseName();
    } else {
        Fail("Expression");
    }
}

// `result`, then the evaluator's own names; any other name is asked of the owner at run time.
void Compiler::ParseName() {
    const std::string_view name = Current().raw;
    const std::size_t at = Offset();
    lexer_.Advance();
    if (EqualsIgnoringCase(name, "result")) {
        Emit({.code = OpCode::LoadResult}, 1);
    } else if (EqualsIgnoringCase(name, "nil")) {
        EmitConstant(Variant());
    } else if (EqualsIgnoringCase(name, "null")) {
        EmitConstant(Variant::Null());
    } else {
        const std::uint32_t index = NameIndex(name);
        const std::uint16_t argc = ParseArguments();
        Emit({.code = OpCode::Call, .argc = argc, .index = index}, 1 - static_cast<int>(argc), at);
    }
}

std::uint16_t Compiler::ParseArguments() {
    if (!Current().Is(Symbol::LeftParen)) {
        return 0;
    }
    EnterNesting();
    lexer_.Advance();
    std::uint16_t argc = 0;
    if (!Current().Is(Symbol::RightParen)) {
        while (true) {
            ParseExpression(kLowestPriority);
            ++argc;
            if (!Current().Is(Symbol::Comma)) {
                break;
            }
            lexer_.Advance();
        }
    }
    Expect(Symbol::RightParen, "')'");
    --nesting_;
    return argc;
}

void Compiler::Expect(Symbol symbol, std::string_view item) {
    if (!Current().Is(symbol)) {
        Fail(item);
    }
    lexer_.Advance();
}

void Compiler::Fail(std::string_view expected) const {
    throw FormulaError(std::string(expected) + " expected but " + DescribeToken(Current()) +
                       " found");
}

void Compiler::EmitConstant(const Variant& value) {
    const auto index = static_cast<std::uint32_t>(script_.constants.size());
    script_.constants.push_back(value);
    Emit({.code = OpCode::PushConstant, .index = index}, 1);
}

// Tracks the operand stack depth the code will reach, so a run never needs to check it.
void Compiler::Emit(Instruction instruction, int depthChange, std::size_t offset) {
    depth_ = static_cast<std::size_t>(static_cast<long>(depth_) + depthChange);
    if (depth_ > kMaxOperands) {
        throw FormulaError("Expression is too complex - overflow");
    }
    script_.maxDepth = std::max(script_.maxDepth, depth_);
    script_.code.push_back(instruction);
    script_.offsets.push_back(static_cast<std::uint32_t>(offset));
}

void Compiler::EnterNesting() {
    if (++nesting_ > kMaxNesting) {
        throw FormulaError("Expression is too complex - overflow");
    }
}

std::uint32_t Compiler::NameIndex(std::string_view name) {
    const auto [it, added] =
        nameIndex_.try_emplace(std::string(name), static_cast<std::uint32_t>(script_.names.size()));
    if (added) {
        script_.names.emplace_back(name);
    }
    return it->second;
}

}  // namespace

CompiledScript CompileScript(std::string_view source) {
    Compiler compiler(source);
    try {
        return compiler.Compile();
    } catch (const FormulaError& error) {
        throw FormulaError(error.what(), compiler.Offset());
    }
}

}  // namespace faultscope
