#include "analysis/formula_channel.h"

#include <stdexcept>
#include <vector>

#include "analysis/formula_library.h"

namespace faultscope {
namespace {

void FillValues(TInterpreterProgram& calculate, const TAnalog& analog, std::size_t sampleCount,
                AnalogColumns& target) {
    const auto min = static_cast<double>(analog.min);
    const auto max = static_cast<double>(analog.max);
    target.value.reserve(target.value.size() + sampleCount);
    target.gap.reserve(target.gap.size() + sampleCount);
    for (std::size_t i = 0; i < sampleCount; ++i) {
        calculate.SetTag(static_cast<std::int64_t>(i));
        calculate.Run();
        const double v = ToDouble(calculate.VResult());
        const bool inside = min <= v && v <= max;
        target.value.push_back(inside ? v : 0.0);
        target.gap.push_back(inside ? 0 : 1);
    }
}

void FillAngles(TInterpreterProgram& calculate, std::size_t sampleCount,
                std::vector<double>& angle) {
    if (angle.size() < sampleCount) {
        angle.resize(sampleCount, kUndefinedAngle);
    }
    for (std::size_t i = 0; i < sampleCount; ++i) {
        calculate.SetTag(static_cast<std::int64_t>(i));
        calculate.Run();
        angle[i] = ToDouble(calculate.VResult());
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

std::vector<FormulaSlot> SlotsOf(const RecordData& record, const TCfgFile& cfg,
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
        if (*slot >= record.analog.size() || *slot >= cfg.AnalogChenel.size()) {
            throw std::invalid_argument("No analog channel " + std::to_string(*slot));
        }
        result.push_back({&record.analog[*slot], &cfg.AnalogChenel[*slot]});
    }
    return result;
}

}  // namespace

TAnalog FormulaChannelInfo(const TAnalog& slot1, std::string_view name, std::uint32_t an) {
    TAnalog info;
    info.An = an;
    info.ch_id = name;
    info.uu = slot1.uu;
    info.a = 1.0;
    info.b = 0.0;
    info.skew = 0.0;
    info.min = slot1.min;
    info.max = slot1.max;
    info.primary = 1.0;
    info.secondory = 1.0;
    info.PS = slot1.PS;
    info.ReservChanel = false;
    return info;
}

void FillFormulaChannel(TInterpreterProgram& calculate, const TAnalog& analog,
                        std::string_view formulaValue, std::string_view formulaAngle,
                        std::size_t sampleCount, AnalogColumns& target,
                        const AfterAllDataLoad& afterAllDataLoad) {
    calculate.SetSource(FormulaScript(formulaValue));
    FillValues(calculate, analog, sampleCount, target);
    if (afterAllDataLoad) {
        afterAllDataLoad(target);
    }
    if (formulaAngle.empty()) {
        return;
    }
    calculate.SetSource(FormulaScript(formulaAngle));
    FillAngles(calculate, sampleCount, target.harmonics.angle);
}

FormulaChannel ComputeFormulaChannel(const RecordData& record, const TCfgFile& cfg,
                                     std::span<const std::optional<std::size_t>> slots,
                                     std::string_view name, std::string_view formulaValue,
                                     std::string_view formulaAngle,
                                     const AfterAllDataLoad& afterAllDataLoad) {
    const std::vector<FormulaSlot> formulaSlots = SlotsOf(record, cfg, slots);
    const auto an = static_cast<std::uint32_t>(record.analog.size() + 1);
    FormulaChannel channel{FormulaChannelInfo(*formulaSlots.front().info, name, an), {}};
    TInterpreterProgram calculate;
    calculate.SetOnGetValue([&formulaSlots](const TInterpreterProgram* sender,
                                            std::string_view identifier, Variant& value,
                                            const TInterpreterArgs& args, bool& done) {
        CalckValue(formulaSlots, sender, identifier, value, args, done);
    });
    FillFormulaChannel(calculate, channel.info, Trimmed(formulaValue), Trimmed(formulaAngle),
                       record.SampleCount(), channel.columns, afterAllDataLoad);
    return channel;
}

}  // namespace faultscope
