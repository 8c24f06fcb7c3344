#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>

#include "core/analysis/fundamental_phasor.h"
#include "core/record/record_config.h"
#include "core/record/record_data.h"

namespace faultscope {

// The phase voltages and currents of one line in a record, phases A, B, C, with the factor that
// turns each channel's values into volts or amperes (UnitFactor of its unit), so that loop
// impedances come out in ohms whatever prefixes the recorder wrote.
struct LineChannels {
    std::array<const AnalogColumns*, 3> voltages{};
    std::array<const AnalogColumns*, 3> currents{};
    std::array<double, 3> voltageFactors{1.0, 1.0, 1.0};
    std::array<double, 3> currentFactors{1.0, 1.0, 1.0};
};

// The line over the analog channels `voltages` and `currents` (positions of phases A, B, C) of a
// record; nothing when a voltage's unit is not one of volts or a current's not one of amperes
// (KindOfUnit, UnitFactor) or a position lies outside the record.
[[nodiscard]] std::optional<LineChannels> LineChannelsOf(
    const RecordConfig& cfg, const RecordData& data, const std::array<std::size_t, 3>& voltages,
    const std::array<std::size_t, 3>& currents);

// The fundamental phasors of a line at one sample, in volts and amperes.
struct LinePhasors {
    std::array<Phasor, 3> voltages{};
    std::array<Phasor, 3> currents{};
};

// The line's phasors at sample i from the direct one-cycle sums; nothing when the window of any
// of the six channels holds a gap. Throws LoadError as CalcHarmonicSums does.
[[nodiscard]] std::optional<LinePhasors> LinePhasorsAt(std::span<const double> xMs,
                                                       const LineChannels& line, double frequency,
                                                       std::size_t i);

}  // namespace faultscope
