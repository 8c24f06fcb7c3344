#pragma once

#include <cstdint>
#include <string_view>

#include "core/formula/formula_program.h"
#include "core/record/record_config.h"
#include "core/viewtemplate/message_sink.h"

namespace faultscope {

class FormulaChannelHost;

inline constexpr char kNewChartFailed[] = "Ошибка создания нового графика";

// The bytes one sample of a formula channel takes: its value, and its angle when it has an angle
// formula. Its harmonics are analysed only when asked for, as a recorded channel's are.
[[nodiscard]] constexpr std::uint64_t FormulaChannelBytesPerSample(bool angleFormula) noexcept {
    return sizeof(double) * (angleFormula ? 2 : 1);
}

// Computes one formula channel into a new channel of `host`: the value formula once per sample,
// the host's check of the channel's harmonic analysis, then the angle formula, if any, over the
// angle column. A channel that would not fit into the memory the system has left is refused with
// a message before it is made. `calculate` must answer the formula's names. When the host makes
// no channel, throws
// std::runtime_error(kNewChartFailed). When the computation fails, the library's own message
// or which formula failed where and why, then "График не создан.", are shown and the result is
// false; the channel is dropped again, so no half-computed channel is kept.
bool MakeFormulaChannel(const AnalogChannel& analog, FormulaProgram& calculate,
                        std::string_view formulaValue, std::string_view formulaAngle,
                        FormulaChannelHost& host, MessageSink& say);

}  // namespace faultscope
