#include "core/analysis/sequence_components.h"

#include <numbers>

namespace faultscope {
namespace {

// The operator a = 1∠120° and a² = 1∠240°.
const Phasor kA(-0.5, std::numbers::sqrt3 / 2.0);
const Phasor kA2(-0.5, -std::numbers::sqrt3 / 2.0);

}  // namespace

SequenceComponents SymmetricalComponents(const std::array<Phasor, 3>& phases) noexcept {
    const auto& [a, b, c] = phases;
    return {(a + kA * b + kA2 * c) / 3.0, (a + kA2 * b + kA * c) / 3.0, (a + b + c) / 3.0};
}

std::optional<SequenceComponents> SymmetricalComponents(
    std::span<const std::optional<Phasor>, 3> phases) noexcept {
    if (!phases[0] || !phases[1] || !phases[2]) {
        return std::nullopt;
    }
    return SymmetricalComponents(std::array<Phasor, 3>{*phases[0], *phases[1], *phases[2]});
}

std::optional<SequenceComponents> SequenceComponentsAt(
    std::span<const double> xMs, const std::array<const AnalogColumns*, 3>& phases,
    double frequency, std::size_t i) {
    std::array<std::optional<Phasor>, 3> phasors;
    for (std::size_t p = 0; p < phases.size(); ++p) {
        phasors[p] = FundamentalPhasorAt(xMs, *phases[p], frequency, i);
    }
    return SymmetricalComponents(std::span<const std::optional<Phasor>, 3>(phasors));
}

}  // namespace faultscope
