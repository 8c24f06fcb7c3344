#pragma once

#include <cstdint>

#include "core/formula/variant.h"

namespace faultscope {

enum class BinaryOp : std::uint8_t {
    Add,
    Subtract,
    Multiply,
    Divide,
    IntDiv,
    Mod,
    Shl,
    Shr,
    And,
    Or,
    Xor,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
};

// The operators of the formula language. Each leaves its result in its (left) operand and throws
// FormulaError for a value of the wrong kind, a division by zero or an overflow it cannot widen.
void ApplyBinary(BinaryOp op, Variant& lhs, const Variant& rhs);
void ApplyNegate(Variant& value);
void ApplyNot(Variant& value);

}  // namespace faultscope
