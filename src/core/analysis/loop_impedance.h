#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/analysis/fundamental_phasor.h"
#include "core/analysis/line_channels.h"

namespace faultscope {

// The loops a distance relay measures: three phase-to-ground and three phase-to-phase loops.
enum class FaultLoop : std::uint8_t { AN, BN, CN, AB, BC, CA };

inline constexpr std::array<std::string_view, 6> kFaultLoopNames = {"AN", "BN", "CN",
                                                                    "AB", "BC", "CA"};

[[nodiscard]] std::optional<FaultLoop> ParseFaultLoop(std::string_view name) noexcept;
[[nodiscard]] std::string_view FaultLoopName(FaultLoop loop) noexcept;

// A line's positive- and zero-sequence impedances, ohms per km (R + jX).
struct LineImpedance {
    Phasor z1;
    Phasor z0;

    friend bool operator==(const LineImpedance&, const LineImpedance&) = default;
};

// The residual compensation factor k0 = (Z0 − Z1)/(3·Z1); 0 for a zero Z1, which leaves
// phase-to-ground loops uncompensated.
[[nodiscard]] Phasor ResidualCompensation(const LineImpedance& line) noexcept;

// The voltage and current a loop divides: Ua − Ub over Ia − Ib for loop AB, Ua over
// Ia + k0·3I0 for loop AN (3I0 = Ia + Ib + Ic).
struct LoopQuantities {
    Phasor voltage;
    Phasor current;
};

[[nodiscard]] LoopQuantities LoopOf(FaultLoop loop, const LinePhasors& line, Phasor k0) noexcept;

// The loop's impedance in ohms; nothing for a zero loop current.
[[nodiscard]] std::optional<Phasor> LoopImpedance(const LoopQuantities& loop) noexcept;

// A point of an impedance series whose loop current is below this share of its largest value in
// the record is left undefined: a loop carrying no more than load or noise has no impedance
// worth plotting.
inline constexpr double kImpedanceCurrentFloor = 0.05;

// The impedance of `loop` at each of the `count` samples from `first`, nothing where a window of
// a channel the loop reads holds a gap or where the loop current is below kImpedanceCurrentFloor
// of its largest value over the whole record (so a part of the record gives the points the whole
// record gives there). Walks the whole record once. Throws LoadError as PhasorWalk does.
[[nodiscard]] std::vector<std::optional<Phasor>> ImpedanceSeries(std::span<const double> xMs,
                                                                 const LineChannels& line,
                                                                 double frequency, FaultLoop loop,
                                                                 Phasor k0, std::size_t first,
                                                                 std::size_t count);

}  // namespace faultscope
