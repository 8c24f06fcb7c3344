#include "core/analysis/fault_location.h"

#include <algorithm>
#include <cmath>

namespace faultscope {
namespace {

// The faulted phases as bits A = 1, B = 2, C = 4.
unsigned FaultedPhases(const std::array<double, 3>& preFault,
                       const std::array<Phasor, 3>& currents) noexcept {
    double largest = 0.0;
    for (const Phasor& current : currents) {
        largest = std::max(largest, std::abs(current));
    }
    unsigned faulted = 0;
    for (std::size_t p = 0; p < 3; ++p) {
        const double rms = std::abs(currents[p]);
        if (rms > kFaultRiseFactor * preFault[p] && rms >= kFaultedShareOfLargest * largest &&
            rms > 0.0) {
            faulted |= 1U << p;
        }
    }
    return faulted;
}

bool InvolvesGround(const std::array<Phasor, 3>& currents) noexcept {
    const double largest =
        std::max({std::abs(currents[0]), std::abs(currents[1]), std::abs(currents[2])});
    return std::abs(currents[0] + currents[1] + currents[2]) > kGroundShareOfLargest * largest;
}

}  // namespace

std::string_view FaultTypeName(FaultType type) noexcept {
    return kFaultTypeNames[static_cast<std::size_t>(type)];
}

std::optional<FaultType> ClassifyFault(const std::array<double, 3>& preFault,
                                       const std::array<Phasor, 3>& currents) noexcept {
    const bool ground = InvolvesGround(currents);
    switch (FaultedPhases(preFault, currents)) {
        case 1:
            return FaultType::AN;
        case 2:
            return FaultType::BN;
        case 4:
            return FaultType::CN;
        case 3:
            return ground ? FaultType::ABN : FaultType::AB;
        case 6:
            return ground ? FaultType::BCN : FaultType::BC;
        case 5:
            return ground ? FaultType::CAN : FaultType::CA;
        case 7:
            return FaultType::ABC;
        default:
            return std::nullopt;
    }
}

FaultLoop MeasuringLoop(FaultType type) noexcept {
    switch (type) {
        case FaultType::AN:
            return FaultLoop::AN;
        case FaultType::BN:
            return FaultLoop::BN;
        case FaultType::CN:
            return FaultLoop::CN;
        case FaultType::AB:
        case FaultType::ABN:
        case FaultType::ABC:
            return FaultLoop::AB;
        case FaultType::BC:
        case FaultType::BCN:
            return FaultLoop::BC;
        case FaultType::CA:
        case FaultType::CAN:
            return FaultLoop::CA;
    }
    return FaultLoop::AB;
}

std::optional<FaultLocation> LocateFault(FaultType type, const LinePhasors& phasors,
                                         const LineModel& line) noexcept {
    const Phasor k0 = ResidualCompensation(line.perKm);
    const std::optional<Phasor> z = LoopImpedance(LoopOf(MeasuringLoop(type), phasors, k0));
    if (!z) {
        return std::nullopt;
    }
    const double distance = z->imag() / line.perKm.z1.imag();
    return FaultLocation{type, *z, distance, 100.0 * distance / line.lengthKm};
}

}  // namespace faultscope
