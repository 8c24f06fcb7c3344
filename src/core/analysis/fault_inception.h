#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>

#include "core/analysis/line_channels.h"

namespace faultscope {

// The phase currents' fundamental RMS (amperes) before the fault, read at the end of the
// record's first full cycle: at the first sample whose one-cycle window ends at that sample
// (sample N for N samples per period), so the window is the cycle the record opens with.
struct PreFaultCurrents {
    std::size_t sample = 0;
    std::array<double, 3> rms{};
};

// Nothing when the record holds no full cycle or a phase current's first cycle holds a gap.
// Throws LoadError as CalcHarmonicSums does.
[[nodiscard]] std::optional<PreFaultCurrents> ReadPreFaultCurrents(std::span<const double> xMs,
                                                                   const LineChannels& line,
                                                                   double frequency);

// The fault's inception: the first sample after the pre-fault one where a phase current's
// fundamental RMS exceeds kFaultRiseFactor times its pre-fault value (samples whose window holds
// a gap are passed over). Nothing when no current rises so. Throws LoadError as PhasorWalk does.
[[nodiscard]] std::optional<std::size_t> FindFaultInception(std::span<const double> xMs,
                                                            const LineChannels& line,
                                                            double frequency,
                                                            const PreFaultCurrents& preFault);

// The fault is evaluated this many cycles after its inception, when the one-cycle window has
// left the pre-fault samples behind however late in a cycle the rise was seen.
inline constexpr double kEvaluationDelayCycles = 1.5;

// The time of the default evaluation instant, ms, from the time of the inception.
[[nodiscard]] double EvaluationTimeMs(double inceptionMs, double frequency) noexcept;

}  // namespace faultscope
