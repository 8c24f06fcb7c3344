#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/fundamental_phasor.h"
#include "core/analysis/sliding_dft_set.h"
#include "core/record/record_data.h"

namespace faultscope {

// The fundamental phasors of several channels of one record, read sample after sample from the
// sliding one-cycle sums: a step costs the same whatever the window length, and the numbers are
// those of VisitHarmonicSums, within 1e-9 of the direct sums. Every channel shares the record's
// window of a sample, so phasors of one sample may be added and divided. A channel whose window
// holds a gap has no phasor at that sample. Samples are read in ascending order, from any first
// one.
class PhasorWalk {
  public:
    // Throws LoadError (naming `channelId`) for a frequency outside the analysis' limits or
    // sample times that do not ascend. The channels are copied as doubles; each must have a
    // sample for every time of xMs.
    PhasorWalk(std::span<const double> xMs, std::span<const AnalogColumns* const> channels,
               double frequency, std::string_view channelId = {});

    // The phasors of sample i, one per channel in the order given. Throws LoadError for a window
    // longer than kMaxWindowLength.
    [[nodiscard]] std::span<const std::optional<Phasor>> At(std::size_t i);

  private:
    struct Channel {
        explicit Channel(const AnalogColumns& columns);

        std::vector<double> values;
        std::vector<std::size_t> gaps;
        SlidingDftSet sums;
    };

    std::span<const double> xMs_;
    double periodMs_;
    std::string channelId_;
    std::vector<Channel> channels_;
    std::vector<std::optional<Phasor>> phasors_;
};

}  // namespace faultscope
