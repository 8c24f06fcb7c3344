#include "core/formula/formula_channel.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/analysis/harmonic_fill.h"
#include "core/formula/formula_library.h"

namespace faultscope {
namespace {

void FillValues(FormulaProgram& calculate, const AnalogChannel& analog, std::size_t sampleCount,
                AnalogColumns& target) {
    const auto min = static_cast<double>(analog.min);
    const auto max = static_cast<double>(analog.max);
    target.Reserve(target.size() + sampleCount);
    for (std::size_t i = 0; i < sampleCount; ++i) {
        calculate.SetTag(static_cast<std::int64_t>(i));
        calculate.Run();
        const double v = ToDouble(calculate.VResult());
        const bool inside = min <= v && v <= max;
        target.AppendValue(inside ? v : 0.0, !inside);
    }
}

// The angle formula's results, kept in double for readers and copied into the drawn angle curve.
void FillAngles(FormulaProgram& calculate, std::size_t sampleCount, AnalogColumns& target) {
    std::vector<double>& angle = target.formulaAngle;
    angle.assign(sampleCount, kUndefinedAngle);
    std::vector<float>& drawn = target.harmonics.angle;
    const bool draw = drawn.size() == sampleCount;
    for (std::size_t i = 0; i < sampleCount; ++i) {
        calculate.SetTag(static_cast<std::int64_t>(i));
        calculate.Run();
        angle[i] = ToDouble(calculate.VResult());
        if (draw) {
            drawn[i] = DrawingValue(angle[i]);
        }
    }
}

// The place of a failure as the user counts it: the character of the formula, from 1; the end
// of the formula for a failure after it.
std::size_t FormulaPosition(std::string_view formula, std::size_t scriptOffset) {
    const std::size_t head = kFormulaScriptHead.size();
    const std::size_t byte = std::clamp(scriptOffset, head, head + formula.size()) - head;
    const auto continuation = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
    return static_cast<std::size_t>(
               std::count_if(formula.begin(), formula.begin() + static_cast<std::ptrdiff_t>(byte),
                             [&](char c) { return !continuation(c); })) +
           1;
}

// The evaluator's reason in the formula's own terms: the script around the formula ends it with
// a ";" the user never typed (`pastEnd`: the failure lies after the formula), and a formula
// never holds one.
std::string FormulaReason(std::string reason, bool pastEnd) {
    const auto replace = [&reason](std::string_view from, std::string_view to) {
        if (const std::size_t at = reason.find(from); at != std::string::npos) {
            reason.replace(at, from.size(), to);
        }
    };
    if (pastEnd) {
        replace("but ';' found", "but end of formula found");
    }
    replace("Missing operator or semicolon", "Missing operator");
    return reason;
}

}  // namespace

std::string FormulaFailureMessage(std::string_view which, std::string_view formula,
                                  const FormulaError& error, std::optional<std::int64_t> sample) {
    std::string text = "Ошибка в формуле ";
    text += which;
    if (const std::optional<std::size_t> offset = error.Offset()) {
        text += ", позиция " + std::to_string(FormulaPosition(formula, *offset));
    }
    if (sample) {
        text += ", отсчёт " + std::to_string(*sample);
    }
    const bool pastEnd =
        error.Offset() && *error.Offset() >= kFormulaScriptHead.size() + formula.size();
    return text + ": " + FormulaReason(error.what(), pastEnd);
}

namespace {

// Translates `formula` and runs `fill` over it; a failure of either becomes a FormulaError with
// the user's message. A library's own message (FormulaBoxError) passes unchanged.
template <typename Fill>
void RunFormula(FormulaProgram& calculate, std::string_view which, std::string_view formula,
                const Fill& fill) {
    calculate.SetSource(FormulaScript(formula));
    if (const std::optional<FormulaError>& error = calculate.SourceError()) {
        throw FormulaError(FormulaFailureMessage(which, formula, *error, std::nullopt));
    }
    try {
        fill();
    } catch (const FormulaBoxError&) {
        throw;
    } catch (const FormulaError& error) {
        throw FormulaError(FormulaFailureMessage(which, formula, error, calculate.Tag()));
    }
}

std::string_view Trimmed(std::string_view text) noexcept {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<FormulaSlot> SlotsOf(const RecordData& record, const RecordConfig& cfg,
                                 std::span<const std::optional<std::size_t>> slots) {
    if (slots.empty() || !slots.front()) {
        throw std::invalid_argument("Slot 1 has no channel");
    }
    std::vector<FormulaSlot> result;
    for (const std::optional<std::size_t>& slot : slots) {
        if (!slot) {
            result.emplace_back();
            continue;
        }
        if (*slot >= record.analog.size() || *slot >= cfg.analog.size()) {
            throw std::invalid_argument("No analog channel " + std::to_string(*slot));
        }
        result.push_back({&record.analog[*slot], &cfg.analog[*slot]});
    }
    return result;
}

}  // namespace

AnalogChannel FormulaChannelInfo(const AnalogChannel& slot1, std::string_view name,
                                 std::uint32_t an) {
    AnalogChannel info;
    info.An = an;
    info.ch_id = name;
    info.uu = slot1.uu;
    info.a = 1.0;
    info.b = 0.0;
    info.skew = 0.0;
    info.min = slot1.min;
    info.max = slot1.max;
    info.primary = 1.0;
    info.secondary = 1.0;
    info.PS = slot1.PS;
    info.ReserveChannel = false;
    return info;
}

void FillFormulaChannel(FormulaProgram& calculate, const AnalogChannel& analog,
                        std::string_view formulaValue, std::string_view formulaAngle,
                        std::size_t sampleCount, AnalogColumns& target,
                        const AfterAllDataLoad& afterAllDataLoad) {
    RunFormula(calculate, "значения", formulaValue,
               [&] { FillValues(calculate, analog, sampleCount, target); });
    if (afterAllDataLoad) {
        afterAllDataLoad(target);
    }
    if (formulaAngle.empty()) {
        return;
    }
    RunFormula(calculate, "угла", formulaAngle,
               [&] { FillAngles(calculate, sampleCount, target); });
    target.valueIsModulus = !ReadsInstantaneousValues(formulaValue);
}

bool ReadsInstantaneousValues(std::string_view formula) {
    // S1 … S5 standing alone, not inside a longer name.
    const auto inName = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '_';
    };
    for (std::size_t i = 0; i + 1 < formula.size(); ++i) {
        const bool source = (formula[i] == 'S' || formula[i] == 's') && formula[i + 1] >= '1' &&
                            formula[i + 1] <= '5';
        if (source && (i == 0 || !inName(formula[i - 1])) &&
            (i + 2 >= formula.size() || !inName(formula[i + 2]))) {
            return true;
        }
    }
    return false;
}

FormulaChannel ComputeFormulaChannel(const RecordData& record, const RecordConfig& cfg,
                                     std::span<const std::optional<std::size_t>> slots,
                                     std::string_view name, std::string_view formulaValue,
                                     std::string_view formulaAngle,
                                     const AfterAllDataLoad& afterAllDataLoad) {
    const std::vector<FormulaSlot> formulaSlots = SlotsOf(record, cfg, slots);
    const auto an = static_cast<std::uint32_t>(record.analog.size() + 1);
    FormulaChannel channel{FormulaChannelInfo(*formulaSlots.front().info, name, an), {}};
    FormulaProgram calculate;
    calculate.SetOnGetValue([&formulaSlots](const FormulaProgram* sender,
                                            std::string_view identifier, Variant& value,
                                            const FormulaArguments& args, bool& done) {
        CalcValue(formulaSlots, sender, identifier, value, args, done);
    });
    FillFormulaChannel(calculate, channel.info, Trimmed(formulaValue), Trimmed(formulaAngle),
                       record.SampleCount(), channel.columns, afterAllDataLoad);
    return channel;
}

}  // namespace faultscope
