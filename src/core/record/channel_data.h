#pragma once

#include <optional>
#include <span>
#include <string>

#include "core/record/record_config.h"
#include "core/record/record_data.h"

namespace faultscope {

// The scale of a channel's raw numbers: a and b, valid between min and max.
[[nodiscard]] inline RawScale RawScaleOf(const AnalogChannel& info) noexcept {
    return {info.a, info.b, static_cast<double>(info.min), static_cast<double>(info.max)};
}

// Appends sample `sample` of a discrete channel, at `xMs`: only state changes are stored, as two
// points at the same time. Raises LoadError for a value other than exactly 0 or 1.
void DiscreteAddPoint(DiscreteColumns& column, double xMs, double value, std::size_t sample);

// Extends the last state to `endMs`, the time of the record's last sample, and closes the band.
void DiscreteAfterAllDataLoad(DiscreteColumns& column, double endMs);

// Whether a discrete channel takes another state after its first sample, at `firstMs`: a state
// the channel starts in is no change. The column must be closed by DiscreteAfterAllDataLoad.
[[nodiscard]] bool ChangesState(const DiscreteColumns& column, double firstMs) noexcept;
// How many times it does so.
[[nodiscard]] std::size_t StateChangeCount(const DiscreteColumns& column, double firstMs) noexcept;

// How many samples of the channel lie outside its raw range.
std::size_t GapCount(const AnalogColumns& channel) noexcept;

// Strips are named "frmA" + the channel number; two channels with one number cannot both have
// a strip. Raises LoadError naming the duplicate.
void CheckAnalogStripNames(std::span<const AnalogChannel> channels);

// Discrete channels whose trimmed identifier is in square brackets get no strip.
bool DiscreteHasStrip(const DigitalChannel& channel);

struct ValueRange {
    double min = 0.0;
    double max = 0.0;
};

// Smallest and largest value of one channel, gap samples and values that are not finite left
// out; none when no sample is left.
std::optional<ValueRange> ChannelValueRange(const AnalogColumns& channel);
// Widens `range` to take in `by`.
void Widen(std::optional<ValueRange>& range, const std::optional<ValueRange>& by) noexcept;

// Smallest and largest value over all analog channels, gap samples left out. A record with no
// sample inside its channels' ranges gives 0 … 0.
ValueRange GetYMinMaxFromAllCht(std::span<const AnalogColumns> channels);

}  // namespace faultscope
