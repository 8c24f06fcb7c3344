#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/analysis/fundamental_phasor.h"
#include "core/analysis/line_channels.h"
#include "core/analysis/loop_impedance.h"

namespace faultscope {

enum class FaultType : std::uint8_t { AN, BN, CN, AB, BC, CA, ABN, BCN, CAN, ABC };

inline constexpr std::array<std::string_view, 10> kFaultTypeNames = {
    "AN", "BN", "CN", "AB", "BC", "CA", "ABN", "BCN", "CAN", "ABC"};

[[nodiscard]] std::string_view FaultTypeName(FaultType type) noexcept;

// A phase current rises by a fault when its fundamental exceeds this many times its pre-fault
// value: the rule both of the fault's inception and of the faulted phases.
inline constexpr double kFaultRiseFactor = 2.0;
// A risen phase counts as faulted only while it carries at least this share of the largest phase
// current, so that a healthy phase fed through the fault's zero-sequence path is not taken.
inline constexpr double kFaultedShareOfLargest = 0.5;
// The fault involves ground when |3I0| = |IA + IB + IC| exceeds this share of the largest phase
// current (|I0| above a thirtieth of it); a fault between phases alone leaves only the
// measuring errors' residue.
inline constexpr double kGroundShareOfLargest = 0.1;

// The fault type from the phase currents at the instant (A, B, C) and their pre-fault RMS values:
// a phase is faulted when its RMS exceeds kFaultRiseFactor times its pre-fault value and is at
// least kFaultedShareOfLargest of the largest phase current. One faulted phase is a
// phase-to-ground fault; two are a phase-to-phase fault, to ground too when |3I0| exceeds
// kGroundShareOfLargest of the largest phase current; three are ABC, with or without ground.
// Nothing when no phase is faulted.
[[nodiscard]] std::optional<FaultType> ClassifyFault(
    const std::array<double, 3>& preFault, const std::array<Phasor, 3>& currents) noexcept;

// The loop that measures a fault: its own loop for a phase-to-ground or phase-to-phase fault, the
// loop of its two phases for a two-phase-to-ground fault, AB for ABC.
[[nodiscard]] FaultLoop MeasuringLoop(FaultType type) noexcept;

// A line: its impedances per km and its length in km.
struct LineModel {
    LineImpedance perKm;
    double lengthKm = 0.0;

    friend bool operator==(const LineModel&, const LineModel&) = default;
};

struct FaultLocation {
    FaultType type = FaultType::AN;
    Phasor impedance;         // of the measuring loop, ohms on the recorded side
    double distanceKm = 0.0;  // the loop's reactance over the line's X1 per km
    double percent = 0.0;     // of the line's length
};

// The single-ended reactance method: distance = X of the measuring loop / X1 per km, for a line
// whose X1 per km and length are not zero. Nothing when the loop carries no current.
[[nodiscard]] std::optional<FaultLocation> LocateFault(FaultType type, const LinePhasors& phasors,
                                                       const LineModel& line) noexcept;

}  // namespace faultscope
