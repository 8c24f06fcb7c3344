#include "core/formula/formula_library.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "core/analysis/fundamental_phasor.h"
#include "core/analysis/sequence_components.h"
#include "core/formula/complex_value.h"
#include "core/formula/formula_error.h"
#include "core/formula/variant_ops.h"

namespace faultscope {
namespace {

enum class Column { Value, Rms1, Angle };

// Longer identifiers cannot be names of the library.
constexpr std::size_t kLongestName = 16;
constexpr int kSlotCount = 5;

std::string_view UpperName(std::string_view identifier,
                           std::array<char, kLongestName>& buffer) noexcept {
    if (identifier.size() > buffer.size()) {
        return {};
    }
    for (std::size_t i = 0; i < identifier.size(); ++i) {
        const char c = identifier[i];
        buffer[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return {buffer.data(), identifier.size()};
}

// n when `name` is `prefix` followed by one digit 1 to 5, else 0.
int SlotNumber(std::string_view name, std::string_view prefix) noexcept {
    if (name.size() != prefix.size() + 1 || !name.starts_with(prefix)) {
        return 0;
    }
    const char digit = name.back();
    return digit >= '1' && digit <= '0' + kSlotCount ? digit - '0' : 0;
}

const AnalogColumns& SlotColumns(std::span<const FormulaSlot> slots, int n) {
    const auto index = static_cast<std::size_t>(n - 1);
    if (index >= slots.size() || slots[index].Empty()) {
        throw FormulaError("Source " + std::to_string(n) + " has no channel");
    }
    return *slots[index].columns;
}

// A formula channel's own angle where its angle formula gave one, else the analysed angle.
const std::vector<double>& AngleColumn(const AnalogColumns& columns) noexcept {
    return columns.formulaAngle.empty() ? columns.fundamental.angle : columns.formulaAngle;
}

std::size_t ColumnSize(const AnalogColumns& columns, Column column) noexcept {
    switch (column) {
        case Column::Rms1:
            return columns.fundamental.rms.size();
        case Column::Angle:
            return AngleColumn(columns).size();
        default:
            return columns.size();
    }
}

double ColumnValue(const AnalogColumns& columns, Column column, std::size_t i) noexcept {
    switch (column) {
        case Column::Rms1:
            return columns.fundamental.rms[i];
        case Column::Angle:
            return AngleColumn(columns)[i];
        default:
            return columns.Value(i);
    }
}

std::string IndexText(double index) {
    if (std::fabs(index) < 1e18) {
        return std::to_string(static_cast<long long>(index));
    }
    return std::to_string(index);
}

double ReadSample(std::span<const FormulaSlot> slots, int n, Column column, double index) {
    const AnalogColumns& columns = SlotColumns(slots, n);
    if (!(index >= 0.0 && index < static_cast<double>(ColumnSize(columns, column)))) {
        throw FormulaError("List index out of bounds (" + IndexText(index) + ")");
    }
    return ColumnValue(columns, column, static_cast<std::size_t>(index));
}

bool AllNumbers(const FormulaArguments& args) noexcept {
    for (const Variant& arg : args.Values) {
        if (!arg.IsNumber()) {
            return false;
        }
    }
    return true;
}

void AnswerSqrt(const FormulaArguments& args, Variant& value) {
    if (args.Count != 1 || !AllNumbers(args)) {
        throw FormulaBoxError("Функция Sqrt может принимать только одно значение.");
    }
    const double x = ToDouble(args.Values[0]);
    if (x < 0.0) {
        throw FormulaBoxError("Нельзя взять корень из отрицательного числа.");
    }
    value.SetReal(std::sqrt(x));
}

void AnswerAbs(const FormulaArguments& args, Variant& value) {
    if (args.Count != 1 || !AllNumbers(args)) {
        throw FormulaBoxError("Функция ABS может принимать только одно значение.");
    }
    value.SetReal(std::fabs(ToDouble(args.Values[0])));
}

double RoundHalfToEven(double x) noexcept {
    double whole = std::floor(x);
    const double fraction = x - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
        whole += 1.0;
    }
    return whole;
}

// The sample LEFT or RIGHT reads: k - X or k + X in variant arithmetic, kept within the record
// on the side it moves to, then rounded to a whole index.
double ShiftedIndex(bool right, std::span<const FormulaSlot> slots, std::int64_t k,
                    const Variant& shift) {
    Variant j = Variant::Whole(k);
    ApplyBinary(right ? BinaryOp::Add : BinaryOp::Subtract, j, shift);
    double index = ToDouble(j);
    if (right) {
        const double last = static_cast<double>(SlotColumns(slots, 1).size()) - 1.0;
        index = index > last ? last : index;
    } else {
        index = index < 0.0 ? 0.0 : index;
    }
    return RoundHalfToEven(index);
}

void AnswerShift(bool right, std::span<const FormulaSlot> slots, std::int64_t k,
                 const FormulaArguments& args, Variant& value) {
    if (args.Count != 2 || args.Values[0].Kind() != VariantKind::Text ||
        !args.Values[1].IsNumber()) {
        throw FormulaBoxError(right ? "Функция RIGHT может принимать только два значения."
                                    : "Функция Left может принимать только два значения.");
    }
    const std::string& source = args.Values[0].TextValue();
    const int sampleSlot = SlotNumber(source, "S");
    const int rmsSlot = SlotNumber(source, "D");
    if (sampleSlot == 0 && rmsSlot == 0) {
        throw FormulaBoxError(right ? "Не допустимое значение параметра функции Right."
                                    : "Не допустимое значение параметра функции Left.");
    }
    const double index = ShiftedIndex(right, slots, k, args.Values[1]);
    value.SetReal(sampleSlot != 0 ? ReadSample(slots, sampleSlot, Column::Value, index)
                                  : ReadSample(slots, rmsSlot, Column::Rms1, index));
}

// X2 >= K, not |X2| >= K: a negative denominator gives R.
void AnswerDivNotNull(const FormulaArguments& args, Variant& value) {
    if (args.Count != 4 || !AllNumbers(args)) {
        throw FormulaBoxError("Функция DIVNOTNULL может принимать только четыре значения.");
    }
    Variant enough = args.Values[1];
    ApplyBinary(BinaryOp::GreaterEqual, enough, args.Values[2]);
    if (!enough.BooleanValue()) {
        value = args.Values[3];
        return;
    }
    value = args.Values[0];
    ApplyBinary(BinaryOp::Divide, value, args.Values[1]);
}

// Ia + K * (Ia + Ib + Ic) / 3 from the three phase currents in polar form and K in rectangular
// form (x[0] to x[7]).
ComplexValue LoopCurrent(const double* x) noexcept {
    const ComplexValue ia = ComplexValue::FromPolar(x[0], x[1]);
    const ComplexValue ib = ComplexValue::FromPolar(x[2], x[3]);
    const ComplexValue ic = ComplexValue::FromPolar(x[4], x[5]);
    const ComplexValue k = ComplexValue::FromRect(x[6], x[7]);
    return (ia + ib + ic).ThirdOfProduct(k) + ia;
}

template <std::size_t N>
bool ReadNumbers(const FormulaArguments& args, std::array<double, N>& x) {
    if (args.Count != static_cast<int>(N) || !AllNumbers(args)) {
        return false;
    }
    for (std::size_t i = 0; i < N; ++i) {
        x[i] = ToDouble(args.Values[i]);
    }
    return true;
}

bool AnswerZf(const FormulaArguments& args, Variant& value) {
    std::array<double, 11> x{};
    if (!ReadNumbers(args, x)) {
        return false;
    }
    const ComplexValue loop = LoopCurrent(&x[1]);
    if (loop.Modulus >= x[9] && x[1] > x[9]) {
        value.SetReal(x[0]);
        ApplyBinary(BinaryOp::Divide, value, Variant::Real(loop.Modulus));
    } else {
        value.SetReal(x[10]);
    }
    return true;
}

// The angle of the loop impedance: the voltage's angle (X1) less the loop current's. Where either
// is undefined, so is the result.
bool AnswerAngleZf(const FormulaArguments& args, Variant& value) {
    std::array<double, 9> x{};
    if (!ReadNumbers(args, x)) {
        return false;
    }
    const ComplexValue loop = LoopCurrent(&x[1]);
    const double voltage = NormalizeAngle(x[0]);
    if (IsEmptyValue(voltage) || IsEmptyValue(loop.angle)) {
        value.SetReal(kUndefinedAngle);
    } else {
        value.SetReal(NormalizeAngle(voltage - loop.angle));
    }
    return true;
}

// The symmetrical component x[0] (1 positive, 2 negative, 0 zero) of phases A, B and C given by
// their RMS and angle in degrees (x[1] to x[6]), as SymmetricalComponents forms it. Nothing where
// a phase's window held a gap (its RMS is not a number) or x[0] names no component. A phase of
// zero RMS is the zero phasor whatever its angle, as a dead channel's is.
std::optional<Phasor> SequencePhasor(const std::array<double, 7>& x) noexcept {
    std::array<Phasor, 3> phases;
    for (std::size_t p = 0; p < 3; ++p) {
        const double rms = x[1 + 2 * p];
        const double angle = x[2 + 2 * p];
        if (std::isnan(rms) || (rms != 0.0 && !(std::fabs(angle) <= 360.0))) {
            return std::nullopt;
        }
        phases[p] = rms == 0.0 ? Phasor() : std::polar(rms, angle * std::numbers::pi / 180.0);
    }
    const SequenceComponents components = SymmetricalComponents(phases);
    if (x[0] == 1.0) {
        return components.positive;
    }
    if (x[0] == 2.0) {
        return components.negative;
    }
    if (x[0] == 0.0) {
        return components.zero;
    }
    return std::nullopt;
}

bool AnswerSeq(const FormulaArguments& args, Variant& value) {
    std::array<double, 7> x{};
    if (!ReadNumbers(args, x)) {
        return false;
    }
    const std::optional<Phasor> component = SequencePhasor(x);
    value.SetReal(component ? std::abs(*component) : std::numeric_limits<double>::quiet_NaN());
    return true;
}

bool AnswerAngleSeq(const FormulaArguments& args, Variant& value) {
    std::array<double, 7> x{};
    if (!ReadNumbers(args, x)) {
        return false;
    }
    const std::optional<Phasor> component = SequencePhasor(x);
    value.SetReal(component ? PhasorAngle(*component) : kUndefinedAngle);
    return true;
}

bool AnswerFunction(std::span<const FormulaSlot> slots, std::int64_t k, std::string_view name,
                    const FormulaArguments& args, Variant& value) {
    if (name == "SQRT") {
        AnswerSqrt(args, value);
    } else if (name == "ABS") {
        AnswerAbs(args, value);
    } else if (name == "LEFT" || name == "RIGHT") {
        AnswerShift(name == "RIGHT", slots, k, args, value);
    } else if (name == "DIVNOTNULL") {
        AnswerDivNotNull(args, value);
    } else if (name == "ZF") {
        return AnswerZf(args, value);
    } else if (name == "ANGLE_ZF") {
        return AnswerAngleZf(args, value);
    } else if (name == "SEQ") {
        return AnswerSeq(args, value);
    } else if (name == "ANGLE_SEQ") {
        return AnswerAngleSeq(args, value);
    } else {
        return false;
    }
    return true;
}

}  // namespace

void CalcValue(std::span<const FormulaSlot> aChartAr, const FormulaProgram* sender,
               std::string_view identifier, Variant& value, const FormulaArguments& args,
               bool& done) {
    std::array<char, kLongestName> buffer{};
    const std::string_view name = UpperName(identifier, buffer);
    if (sender == nullptr) {
        throw FormulaError("Sender not assigned");
    }
    const auto k = static_cast<double>(sender->Tag());
    const Column columns[] = {Column::Value, Column::Rms1, Column::Angle};
    const std::string_view prefixes[] = {"S", "D", "ANGLE"};
    for (int c = 0; c < 3; ++c) {
        if (const int n = SlotNumber(name, prefixes[c])) {
            value.SetReal(ReadSample(aChartAr, n, columns[c], k));
            done = true;
            return;
        }
    }
    done = AnswerFunction(aChartAr, sender->Tag(), name, args, value);
}

}  // namespace faultscope
