#pragma once

#include <complex>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "core/analysis/harmonics.h"
#include "core/record/record_data.h"

namespace faultscope {

// A fundamental phasor: its modulus is the RMS of the fundamental and its argument the angle the
// readouts and `phasors` show, so sums and products of phasors mean what the diagram draws.
using Phasor = std::complex<double>;

// The phasor of one window's sums; nothing when the window holds a gap. A record too short for a
// window gives a zero phasor, as it gives zero harmonics.
[[nodiscard]] std::optional<Phasor> FundamentalPhasor(const HarmonicSums& sums) noexcept;

// The phasor of a channel at sample `i` from the direct one-cycle sums, the numbers a readout at
// the cursor shows. Throws LoadError as CalcHarmonicSums does.
[[nodiscard]] std::optional<Phasor> FundamentalPhasorAt(std::span<const double> xMs,
                                                        const AnalogColumns& channel,
                                                        double frequency, std::size_t i,
                                                        std::string_view channelId = {});

// The angle of a phasor in degrees, 0 <= angle < 360, on the reference of FundamentalAngle;
// kUndefinedAngle for a zero phasor.
[[nodiscard]] double PhasorAngle(Phasor p) noexcept;

}  // namespace faultscope
