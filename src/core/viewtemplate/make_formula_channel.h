#pragma once

#include <string_view>

#include "core/formula/formula_program.h"
#include "core/record/record_config.h"
#include "core/viewtemplate/message_sink.h"

namespace faultscope {

class FormulaChannelHost;

inline constexpr char kNewChartFailed[] = "Ошибка создания нового графика";

// Computes one formula channel into a new channel of `host`: the value formula once per sample,
// the channel's harmonic analysis, then the angle formula, if any, over the angle column.
// `calculate` must answer the formula's names. When the host makes no channel, throws
// std::runtime_error(kNewChartFailed). When the computation fails, the library's own message
// or which formula failed where and why, then "График не создан.", are shown and the result is
// false; the channel is dropped again, so no half-computed channel is kept.
bool MakeFormulaChannel(const AnalogChannel& analog, FormulaProgram& calculate,
                        std::string_view formulaValue, std::string_view formulaAngle,
                        FormulaChannelHost& host, MessageSink& say);

}  // namespace faultscope
