#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/formula/variant.h"
#include "core/formula/variant_ops.h"

namespace faultscope {

// The operand stack of a run holds at most this many pending operands.
inline constexpr std::size_t kMaxOperands = 200;
// Parentheses and argument lists nest at most this deep, so that parsing never exhausts the
// program's own stack.
inline constexpr int kMaxNesting = 200;

enum class OpCode : std::uint8_t {
    PushConstant,  // constants[index]
    LoadResult,
    StoreResult,
    Call,  // names[index] with argc operands as arguments
    Negate,
    Not,
    Binary,  // op
};

struct Instruction {
    OpCode code = OpCode::PushConstant;
    BinaryOp op = BinaryOp::Add;
    std::uint16_t argc = 0;
    std::uint32_t index = 0;
};

// A script translated once into postfix code over an operand stack.
struct CompiledScript {
    std::vector<Instruction> code;
    std::vector<std::uint32_t> offsets;  // per instruction: the byte of the script it comes from
    std::vector<Variant> constants;
    std::vector<std::string> names;  // as written in the script
    std::size_t maxDepth = 0;
};

// Translates "begin", an optional assignment to `result` and "end;", in time proportional to
// the script's length. Throws FormulaError with the evaluator's message for the first fault and
// the byte of the script where it was found.
CompiledScript CompileScript(std::string_view source);

}  // namespace faultscope
