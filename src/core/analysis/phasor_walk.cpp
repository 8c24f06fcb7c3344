#include "core/analysis/phasor_walk.h"

#include <algorithm>
#include <stdexcept>

#include "core/analysis/harmonic_fill.h"

namespace faultscope {

PhasorWalk::Channel::Channel(const AnalogColumns& columns)
    : values(columns.Values()), gaps(GapSamples(columns.Samples())), sums(values) {}

PhasorWalk::PhasorWalk(std::span<const double> xMs, std::span<const AnalogColumns* const> channels,
                       double frequency, std::string_view channelId)
    : xMs_(xMs), periodMs_((1.0 / frequency) * 1000.0), channelId_(channelId) {
    CheckNominalFrequency(frequency, channelId);
    CheckSampleTimes(xMs, channelId);
    channels_.reserve(channels.size());
    for (const AnalogColumns* columns : channels) {
        if (columns->size() != xMs.size()) {
            throw std::invalid_argument("time and value columns differ in length");
        }
        channels_.emplace_back(*columns);
    }
    phasors_.resize(channels.size());
}

std::span<const std::optional<Phasor>> PhasorWalk::At(std::size_t i) {
    const HarmonicWindow window = LocateWindow(xMs_, periodMs_, i, channelId_);
    const bool full = IsFullWindow(window, xMs_.size());
    for (std::size_t c = 0; c < channels_.size(); ++c) {
        Channel& channel = channels_[c];
        HarmonicSums sums = full ? channel.sums.SumsAt(window) : HarmonicSums{window};
        if (!channel.gaps.empty() && window.length > 0) {
            const auto next =
                std::ranges::lower_bound(channel.gaps, window.end + 1 - window.length);
            sums.overGap = next != channel.gaps.end() && *next <= window.end;
        }
        phasors_[c] = FundamentalPhasor(sums);
    }
    return phasors_;
}

}  // namespace faultscope
