#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/formula/formula_program.h"
#include "core/record/record_config.h"
#include "core/record/record_data.h"

namespace faultscope {

// Shown (caption "Ошибка") whenever a formula channel could not be computed, after the library's
// own box if it raised one.
inline constexpr std::string_view kChartNotCreated = "График не создан.";

// The description of a new formula channel named `name`: unit, range and primary/secondary
// choice come from the channel in slot 1; `an` is the number the channel gets.
AnalogChannel FormulaChannelInfo(const AnalogChannel& slot1, std::string_view name,
                                 std::uint32_t an);

// Runs the harmonic analysis of the new channel's samples into its harmonic columns.
using AfterAllDataLoad = std::function<void(AnalogColumns& channel)>;

// Computes a formula channel into the empty columns `target`: the value formula once per sample
// (a result outside analog.min..analog.max, or not a number, becomes a gap with value 0), then
// `afterAllDataLoad`, then, unless `formulaAngle` is empty, the angle formula once per sample
// over the angle column. `calculate` must already answer the formula's names (its callback).
// Throws FormulaError, or FormulaBoxError after a library message, and stops at once: what was
// computed so far stays in `target`. A FormulaError's text is then the message to show the user
// before kChartNotCreated: which formula failed, at which character (from 1) and, for a failure
// while running, at which sample (from 0), then the evaluator's own reason.
// Whether a value formula reads the instantaneous value of a source (S1 … S5).
[[nodiscard]] bool ReadsInstantaneousValues(std::string_view formula);

void FillFormulaChannel(FormulaProgram& calculate, const AnalogChannel& analog,
                        std::string_view formulaValue, std::string_view formulaAngle,
                        std::size_t sampleCount, AnalogColumns& target,
                        const AfterAllDataLoad& afterAllDataLoad);

// The message of a formula that failed: which formula ("значения" or "угла"), at which character
// from 1, at which sample when it failed while running, then the evaluator's reason.
std::string FormulaFailureMessage(std::string_view which, std::string_view formula,
                                  const FormulaError& error, std::optional<std::int64_t> sample);

struct FormulaChannel {
    AnalogChannel info;
    AnalogColumns columns;
};

// A formula channel over the analog channels of a loaded record. slots[n - 1] is the index (in
// record.analog and cfg.analog) of the channel that gives Sn, Dn and ANGLEn, or none;
// slot 1 must name a channel. The formulas are trimmed of surrounding blanks. Throws as
// FillFormulaChannel does; a missing slot 1 or a channel index out of range throws
// std::invalid_argument.
FormulaChannel ComputeFormulaChannel(const RecordData& record, const RecordConfig& cfg,
                                     std::span<const std::optional<std::size_t>> slots,
                                     std::string_view name, std::string_view formulaValue,
                                     std::string_view formulaAngle,
                                     const AfterAllDataLoad& afterAllDataLoad);

}  // namespace faultscope
