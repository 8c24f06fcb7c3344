#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/record/record_config.h"

namespace faultscope {

// Three analog channels that measure phases A, B and C of one circuit in one unit (IA, IB, IC of
// a line, say), by their positions among the record's analog channels.
struct PhaseTriple {
    std::array<std::size_t, 3> channels{};

    friend bool operator==(const PhaseTriple&, const PhaseTriple&) = default;
};

// The phase a channel's phase field names: 0, 1, 2 for A, B, C in either letter case, written
// in Latin or in the Cyrillic letters that look the same (А, В, С), blanks around ignored.
// Nothing for any other phase (N, 0, R, an empty field).
[[nodiscard]] std::optional<std::size_t> PhaseIndex(std::string_view phase) noexcept;

// The triples a record's analog channels offer, in the order of their phase A channels: the
// channels of phases A, B and C with the same circuit and unit fields (blanks around ignored).
// Where a circuit has several channels of one phase in one unit, the first A goes with the first
// B and the first C, the second with the second, and so on.
[[nodiscard]] std::vector<PhaseTriple> FindPhaseTriples(std::span<const AnalogChannel> channels);

}  // namespace faultscope
