#include "core/formula/variant_ops.h"

#include <cmath>
#include <limits>
#include <string>

#include "core/formula/formula_error.h"

namespace faultscope {
namespace {

constexpr const char* kInvalidOperation = "Invalid variant operation";
constexpr std::int64_t kLongMin = std::numeric_limits<std::int64_t>::min();

// An operand brought to a number: a whole number (narrow when it came from a 32-bit integer, a
// boolean or empty) or a real.
struct Number {
    bool real = false;
    bool wide = false;
    std::int64_t whole = 0;
    double value = 0.0;

    [[nodiscard]] double AsDouble() const noexcept {
        return real ? value : static_cast<double>(whole);
    }
};

Number ToNumber(const Variant& v) {
    switch (v.Kind()) {
        case VariantKind::Real:
            return {true, false, 0, v.RealValue()};
        case VariantKind::LongInt:
            return {false, true, v.WholeValue(), 0.0};
        case VariantKind::Boolean:
        case VariantKind::Integer:
            return {false, false, v.WholeValue(), 0.0};
        case VariantKind::Empty:
            return {};
        case VariantKind::Text: {
            Variant number;
            if (!TextToNumber(v.TextValue(), number)) {
                throw FormulaError("Could not convert variant of type (String) into type (Double)");
            }
            return ToNumber(number);
        }
        case VariantKind::Null:
            break;
    }
    throw FormulaError(kInvalidOperation);
}

Number ToWholeNumber(const Variant& v) {
    const Number n = ToNumber(v);
    if (n.real) {
        throw FormulaError(kInvalidOperation);
    }
    return n;
}

// Real arithmetic reports what the processor would trap: a finite computation that leaves the
// finite numbers.
double CheckedReal(double result, double a, double b) {
    if (!std::isfinite(result) && std::isfinite(a) && std::isfinite(b)) {
        throw FormulaError(std::isnan(result) ? "Invalid floating point operation"
                                              : "Floating point overflow");
    }
    return result;
}

double RealArithmetic(BinaryOp op, double a, double b) {
    switch (op) {
        case BinaryOp::Add:
            return CheckedReal(a + b, a, b);
        case BinaryOp::Subtract:
            return CheckedReal(a - b, a, b);
        default:
            return CheckedReal(a * b, a, b);
    }
}

bool WholeArithmetic(BinaryOp op, std::int64_t a, std::int64_t b, std::int64_t& result) {
    switch (op) {
        case BinaryOp::Add:
            return !__builtin_add_overflow(a, b, &result);
        case BinaryOp::Subtract:
            return !__builtin_sub_overflow(a, b, &result);
        default:
            return !__builtin_mul_overflow(a, b, &result);
    }
}

// "+", "-", "*": whole numbers widen to a long integer and then to a real.
void Arithmetic(BinaryOp op, Variant& lhs, const Variant& rhs) {
    if (op == BinaryOp::Add && lhs.Kind() == VariantKind::Text && rhs.Kind() == VariantKind::Text) {
        lhs.SetText(lhs.TextValue() + rhs.TextValue());
        return;
    }
    const Number a = ToNumber(lhs);
    const Number b = ToNumber(rhs);
    std::int64_t whole = 0;
    if (!a.real && !b.real && WholeArithmetic(op, a.whole, b.whole, whole)) {
        if (a.wide || b.wide) {
            lhs.SetLongInt(whole);
        } else {
            lhs.SetWhole(whole);
        }
        return;
    }
    lhs.SetReal(RealArithmetic(op, a.AsDouble(), b.AsDouble()));
}

void Divide(Variant& lhs, const Variant& rhs) {
    const double a = ToNumber(lhs).AsDouble();
    const double b = ToNumber(rhs).AsDouble();
    if (b == 0.0) {
        throw FormulaError(a == 0.0 || std::isnan(a) ? "Invalid floating point operation"
                                                     : "Floating point division by zero");
    }
    lhs.SetReal(CheckedReal(a / b, a, b));
}

void SetWholeResult(Variant& lhs, std::int64_t value, bool wide) {
    if (wide) {
        lhs.SetLongInt(value);
    } else {
        lhs.SetWhole(value);
    }
}

void IntegerDivision(BinaryOp op, Variant& lhs, const Variant& rhs) {
    const Number a = ToWholeNumber(lhs);
    const Number b = ToWholeNumber(rhs);
    if (b.whole == 0) {
        throw FormulaError("Division by zero");
    }
    const bool wide = a.wide || b.wide;
    if (a.whole == kLongMin && b.whole == -1) {
        if (op == BinaryOp::IntDiv) {
            throw FormulaError("Integer overflow");
        }
        SetWholeResult(lhs, 0, wide);
        return;
    }
    SetWholeResult(lhs, op == BinaryOp::IntDiv ? a.whole / b.whole : a.whole % b.whole, wide);
}

// Shifts work on the operand's own width; the count is taken modulo that width.
void Shift(BinaryOp op, Variant& lhs, const Variant& rhs) {
    const Number a = ToWholeNumber(lhs);
    const Number b = ToWholeNumber(rhs);
    const bool left = op == BinaryOp::Shl;
    if (a.wide) {
        const auto bits = static_cast<std::uint64_t>(a.whole);
        const auto count = static_cast<unsigned>(b.whole & 63);
        lhs.SetLongInt(static_cast<std::int64_t>(left ? bits << count : bits >> count));
        return;
    }
    const auto bits = static_cast<std::uint32_t>(a.whole);
    const auto count = static_cast<unsigned>(b.whole & 31);
    lhs.SetInteger(static_cast<std::int32_t>(left ? bits << count : bits >> count));
}

void Logical(BinaryOp op, Variant& lhs, const Variant& rhs) {
    if (lhs.Kind() == VariantKind::Boolean && rhs.Kind() == VariantKind::Boolean) {
        const bool a = lhs.BooleanValue();
        const bool b = rhs.BooleanValue();
        lhs.SetBoolean(op == BinaryOp::And ? a && b : op == BinaryOp::Or ? a || b : a != b);
        return;
    }
    const Number a = ToWholeNumber(lhs);
    const Number b = ToWholeNumber(rhs);
    const std::int64_t bits = op == BinaryOp::And  ? a.whole & b.whole
                              : op == BinaryOp::Or ? a.whole | b.whole
                                                   : a.whole ^ b.whole;
    SetWholeResult(lhs, bits, a.wide || b.wide);
}

// -1, 0 or 1; a comparison with a NaN compares as unordered (2).
int CompareValues(const Variant& lhs, const Variant& rhs) {
    if (lhs.Kind() == VariantKind::Null || rhs.Kind() == VariantKind::Null) {
        throw FormulaError(kInvalidOperation);
    }
    if (lhs.Kind() == VariantKind::Text && rhs.Kind() == VariantKind::Text) {
        const int c = lhs.TextValue().compare(rhs.TextValue());
        return (c > 0) - (c < 0);
    }
    const Number a = ToNumber(lhs);
    const Number b = ToNumber(rhs);
    if (!a.real && !b.real) {
        return (a.whole > b.whole) - (a.whole < b.whole);
    }
    const double x = a.AsDouble();
    const double y = b.AsDouble();
    if (x < y) {
        return -1;
    }
    return x > y ? 1 : (x == y ? 0 : 2);
}

void Comparison(BinaryOp op, Variant& lhs, const Variant& rhs) {
    const int c = CompareValues(lhs, rhs);
    const bool ordered = c != 2;
    bool truth = false;
    switch (op) {
        case BinaryOp::Equal:
            truth = c == 0;
            break;
        case BinaryOp::NotEqual:
            truth = c != 0;
            break;
        case BinaryOp::Less:
            truth = c == -1;
            break;
        case BinaryOp::Greater:
            truth = c == 1;
            break;
        case BinaryOp::LessEqual:
            truth = ordered && c <= 0;
            break;
        default:
            truth = ordered && c >= 0;
            break;
    }
    lhs.SetBoolean(truth);
}

}  // namespace

void ApplyBinary(BinaryOp op, Variant& lhs, const Variant& rhs) {
    switch (op) {
        case BinaryOp::Add:
        case BinaryOp::Subtract:
        case BinaryOp::Multiply:
            if (lhs.Kind() == VariantKind::Real && rhs.Kind() == VariantKind::Real) {
                lhs.SetReal(RealArithmetic(op, lhs.RealValue(), rhs.RealValue()));
                return;
            }
            Arithmetic(op, lhs, rhs);
            return;
        case BinaryOp::Divide:
            Divide(lhs, rhs);
            return;
        case BinaryOp::IntDiv:
        case BinaryOp::Mod:
            IntegerDivision(op, lhs, rhs);
            return;
        case BinaryOp::Shl:
        case BinaryOp::Shr:
            Shift(op, lhs, rhs);
            return;
        case BinaryOp::And:
        case BinaryOp::Or:
        case BinaryOp::Xor:
            Logical(op, lhs, rhs);
            return;
        default:
            Comparison(op, lhs, rhs);
            return;
    }
}

void ApplyNegate(Variant& value) {
    const Number n = ToNumber(value);
    if (n.real) {
        value.SetReal(-n.value);
    } else if (n.whole == kLongMin) {
        value.SetReal(-static_cast<double>(n.whole));
    } else {
        SetWholeResult(value, -n.whole, n.wide);
    }
}

void ApplyNot(Variant& value) {
    if (value.Kind() == VariantKind::Boolean) {
        value.SetBoolean(!value.BooleanValue());
        return;
    }
    const Number n = ToWholeNumber(value);
    SetWholeResult(value, ~n.whole, n.wide);
}

}  // namespace faultscope
