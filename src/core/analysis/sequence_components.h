#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>

#include "core/analysis/fundamental_phasor.h"
#include "core/record/record_data.h"

namespace faultscope {

// The symmetrical components of a phase triple: I1 = (IA + a·IB + a²·IC)/3,
// I2 = (IA + a²·IB + a·IC)/3, I0 = (IA + IB + IC)/3 with a = 1∠120°, in the phases' unit (I0
// itself, not 3I0) and on the angle reference of the phases.
struct SequenceComponents {
    Phasor positive;
    Phasor negative;
    Phasor zero;
};

// The components of the phasors of phases A, B and C.
[[nodiscard]] SequenceComponents SymmetricalComponents(
    const std::array<Phasor, 3>& phases) noexcept;

// The components of three phase phasors of one sample; nothing when a phase has no phasor
// there (its window holds a gap).
[[nodiscard]] std::optional<SequenceComponents> SymmetricalComponents(
    std::span<const std::optional<Phasor>, 3> phases) noexcept;

// The components of the channels `phases` (A, B, C) at sample i, from the direct one-cycle sums
// as a readout at the cursor reads them. Throws LoadError as CalcHarmonicSums does.
[[nodiscard]] std::optional<SequenceComponents> SequenceComponentsAt(
    std::span<const double> xMs, const std::array<const AnalogColumns*, 3>& phases,
    double frequency, std::size_t i);

}  // namespace faultscope
