#include "core/record/channel_data.h"

#include <algorithm>
#include <limits>
#include <unordered_set>

#include "core/record/load_error.h"
#include "core/record/text_fields.h"

namespace faultscope {

void DiscreteAddPoint(DiscreteColumns& column, double xMs, double value, std::size_t sample) {
    if (value != 0.0 && value != 1.0) {
        throw LoadError("Недопустимое значение дискретного канала.");
    }
    if (value == column.oldState) {
        return;
    }
    column.x.push_back(xMs);
    column.state.push_back(column.oldState);
    column.x.push_back(xMs);
    column.state.push_back(value);
    column.changeSamples.push_back(sample);
    column.oldState = value;
}

void DiscreteAfterAllDataLoad(DiscreteColumns& column, double endMs) {
    column.x.push_back(endMs);
    column.state.push_back(column.oldState);
    column.x.push_back(endMs);
    column.state.push_back(0.0);
}

std::size_t StateChangeCount(const DiscreteColumns& column, double firstMs) noexcept {
    // Each change is a pair of points at one time; the last pair closes the band.
    std::size_t changes = column.x.size() / 2;
    changes -= changes > 0 ? 1 : 0;
    if (changes > 0 && column.x.front() <= firstMs) {
        --changes;  // the state taken at the first sample
    }
    return changes;
}

bool ChangesState(const DiscreteColumns& column, double firstMs) noexcept {
    return StateChangeCount(column, firstMs) > 0;
}

std::size_t GapCount(const AnalogColumns& channel) noexcept {
    return channel.Samples().CountGaps();
}

void CheckAnalogStripNames(std::span<const AnalogChannel> channels) {
    std::unordered_set<std::uint32_t> numbers;
    for (const AnalogChannel& ch : channels) {
        if (!numbers.insert(ch.An).second) {
            throw LoadError("Компонент с именем «frmA" + std::to_string(ch.An) +
                            "» уже существует (два аналоговых канала с номером " +
                            std::to_string(ch.An) + ")");
        }
    }
}

bool DiscreteHasStrip(const DigitalChannel& channel) {
    return !IsReserveChannelId(TrimBlanks(channel.ch_id));
}

std::optional<ValueRange> ChannelValueRange(const AnalogColumns& channel) {
    // A gap keeps the recorder's raw marker (often 99999 or 999999), not a value.
    const SampleColumn samples = channel.Samples();
    const ValueExtent extent = samples.Extent(0, samples.size());
    return extent.IsEmpty() ? std::nullopt : std::optional<ValueRange>({extent.min, extent.max});
}

void Widen(std::optional<ValueRange>& range, const std::optional<ValueRange>& by) noexcept {
    if (!by) {
        return;
    }
    if (!range) {
        range = by;
        return;
    }
    range->min = std::min(range->min, by->min);
    range->max = std::max(range->max, by->max);
}

ValueRange GetYMinMaxFromAllCht(std::span<const AnalogColumns> channels) {
    std::optional<ValueRange> all;
    for (const AnalogColumns& channel : channels) {
        Widen(all, ChannelValueRange(channel));
    }
    return all.value_or(ValueRange{});
}

}  // namespace faultscope
