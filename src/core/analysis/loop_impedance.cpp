#include "core/analysis/loop_impedance.h"

#include <algorithm>
#include <stdexcept>

#include "core/analysis/phasor_walk.h"

namespace faultscope {
namespace {

// The phases a loop joins: the first and second phase of a phase-to-phase loop, the phase of a
// phase-to-ground loop twice.
std::array<std::size_t, 2> LoopPhases(FaultLoop loop) noexcept {
    switch (loop) {
        case FaultLoop::AN:
            return {0, 0};
        case FaultLoop::BN:
            return {1, 1};
        case FaultLoop::CN:
            return {2, 2};
        case FaultLoop::AB:
            return {0, 1};
        case FaultLoop::BC:
            return {1, 2};
        case FaultLoop::CA:
            return {2, 0};
    }
    return {0, 0};
}

bool IsGroundLoop(FaultLoop loop) noexcept {
    return loop == FaultLoop::AN || loop == FaultLoop::BN || loop == FaultLoop::CN;
}

// The channels a loop reads, voltages then currents, as positions 0..5; an uncompensated
// phase-to-ground loop needs no other phase's current.
std::vector<std::size_t> ChannelsRead(FaultLoop loop, Phasor k0) {
    const auto [p, q] = LoopPhases(loop);
    if (!IsGroundLoop(loop)) {
        return {p, q, 3 + p, 3 + q};
    }
    if (k0 == Phasor()) {
        return {p, 3 + p};
    }
    return {p, 3, 4, 5};
}

// The walk's phasors placed into the line's phasors in volts and amperes (channels the loop does
// not read stay zero); nothing when one of them is undefined.
std::optional<LinePhasors> PlacePhasors(std::span<const std::optional<Phasor>> read,
                                        std::span<const std::size_t> positions,
                                        const LineChannels& line) {
    LinePhasors phasors;
    for (std::size_t k = 0; k < positions.size(); ++k) {
        if (!read[k]) {
            return std::nullopt;
        }
        const std::size_t at = positions[k];
        if (at < 3) {
            phasors.voltages[at] = *read[k] * line.voltageFactors[at];
        } else {
            phasors.currents[at - 3] = *read[k] * line.currentFactors[at - 3];
        }
    }
    return phasors;
}

}  // namespace

std::optional<FaultLoop> ParseFaultLoop(std::string_view name) noexcept {
    const auto found = std::ranges::find(kFaultLoopNames, name);
    if (found == kFaultLoopNames.end()) {
        return std::nullopt;
    }
    return static_cast<FaultLoop>(found - kFaultLoopNames.begin());
}

std::string_view FaultLoopName(FaultLoop loop) noexcept {
    return kFaultLoopNames[static_cast<std::size_t>(loop)];
}

Phasor ResidualCompensation(const LineImpedance& line) noexcept {
    return line.z1 == Phasor() ? Phasor() : (line.z0 - line.z1) / (3.0 * line.z1);
}

LoopQuantities LoopOf(FaultLoop loop, const LinePhasors& line, Phasor k0) noexcept {
    const auto [p, q] = LoopPhases(loop);
    const auto& u = line.voltages;
    const auto& i = line.currents;
    if (IsGroundLoop(loop)) {
        return {u[p], i[p] + k0 * (i[0] + i[1] + i[2])};
    }
    return {u[p] - u[q], i[p] - i[q]};
}

std::optional<Phasor> LoopImpedance(const LoopQuantities& loop) noexcept {
    if (loop.current == Phasor()) {
        return std::nullopt;
    }
    return loop.voltage / loop.current;
}

std::vector<std::optional<Phasor>> ImpedanceSeries(std::span<const double> xMs,
                                                   const LineChannels& line, double frequency,
                                                   FaultLoop loop, Phasor k0, std::size_t first,
                                                   std::size_t count) {
    if (first > xMs.size() || count > xMs.size() - first) {
        throw std::out_of_range("sample range outside the record");
    }
    const std::vector<std::size_t> positions = ChannelsRead(loop, k0);
    std::vector<const AnalogColumns*> channels;
    for (const std::size_t at : positions) {
        channels.push_back(at < 3 ? line.voltages[at] : line.currents[at - 3]);
    }
    PhasorWalk walk(xMs, channels, frequency);
    std::vector<std::optional<Phasor>> points(count);
    std::vector<double> currents(count);
    double largest = 0.0;
    for (std::size_t i = 0; i < xMs.size(); ++i) {
        const auto phasors = PlacePhasors(walk.At(i), positions, line);
        if (!phasors) {
            continue;
        }
        const LoopQuantities quantities = LoopOf(loop, *phasors, k0);
        const double current = std::abs(quantities.current);
        largest = std::max(largest, current);
        if (i >= first && i - first < count) {
            points[i - first] = LoopImpedance(quantities);
            currents[i - first] = current;
        }
    }
    const double floor = kImpedanceCurrentFloor * largest;
    for (std::size_t k = 0; k < count; ++k) {
        if (currents[k] < floor) {
            points[k].reset();
        }
    }
    return points;
}

}  // namespace faultscope
