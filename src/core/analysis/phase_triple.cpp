#include "core/analysis/phase_triple.h"

#include <algorithm>

#include "core/record/text_fields.h"

namespace faultscope {
namespace {

bool SameGroup(const AnalogChannel& a, const AnalogChannel& b) noexcept {
    return TrimBlanks(a.ccbm) == TrimBlanks(b.ccbm) && TrimBlanks(a.uu) == TrimBlanks(b.uu);
}

// The position of the `rank`-th channel (counting from 0) of phase `phase` in the group of
// `member`, or nothing.
std::optional<std::size_t> NthOfPhase(std::span<const AnalogChannel> channels,
                                      const AnalogChannel& member, std::size_t phase,
                                      std::size_t rank) {
    for (std::size_t i = 0; i < channels.size(); ++i) {
        if (PhaseIndex(channels[i].ph) == phase && SameGroup(channels[i], member)) {
            if (rank == 0) {
                return i;
            }
            --rank;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::size_t> PhaseIndex(std::string_view phase) noexcept {
    constexpr std::array<std::array<std::string_view, 4>, 3> kNames = {{
        {"A", "a", "А", "а"},
        {"B", "b", "В", "в"},
        {"C", "c", "С", "с"},
    }};
    phase = TrimBlanks(phase);
    for (std::size_t p = 0; p < kNames.size(); ++p) {
        if (std::ranges::find(kNames[p], phase) != kNames[p].end()) {
            return p;
        }
    }
    return std::nullopt;
}

std::vector<PhaseTriple> FindPhaseTriples(std::span<const AnalogChannel> channels) {
    std::vector<PhaseTriple> triples;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        if (PhaseIndex(channels[i].ph) != 0) {
            continue;
        }
        // This A channel's rank among the A channels of its group pairs it with B and C.
        std::size_t rank = 0;
        for (std::size_t j = 0; j < i; ++j) {
            rank += PhaseIndex(channels[j].ph) == 0 && SameGroup(channels[j], channels[i]) ? 1 : 0;
        }
        const auto b = NthOfPhase(channels, channels[i], 1, rank);
        const auto c = NthOfPhase(channels, channels[i], 2, rank);
        if (b && c) {
            triples.push_back({{i, *b, *c}});
        }
    }
    return triples;
}

}  // namespace faultscope
