#include "record/channel_data.h"

#include <algorithm>
#include <limits>
#include <unordered_set>

#include "record/load_error.h"
#include "record/text_fields.h"

namespace faultscope {

void DiscreteAddPoint(DiscreteColumns& column, double xMs, double value) {
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
    column.oldState = value;
}

void DiscreteAfterAllDataLoad(DiscreteColumns& column, double endMs) {
    column.x.push_back(endMs);
    column.state.push_back(column.oldState);
    column.x.push_back(endMs);
    column.state.push_back(0.0);
}

bool ChangesState(const DiscreteColumns& column, double firstMs) noexcept {
    // Each change is a pair of points at one time; the last pair closes the band.
    std::size_t changes = column.x.size() / 2;
    changes -= changes > 0 ? 1 : 0;
    if (changes > 0 && column.x.front() <= firstMs) {
        --changes;  // the state taken at the first sample
    }
    return changes > 0;
}

std::size_t GapCount(const AnalogColumns& channel) noexcept {
    return channel.Samples().CountGaps();
}

void CheckAnalogStripNames(std::span<const TAnalog> channels) {
    std::unordered_set<std::uint32_t> numbers;
    for (const TAnalog& ch : channels) {
        if (!numbers.insert(ch.An).second) {
            throw LoadError("Компонент с именем «frmA" + std::to_string(ch.An) +
                            "» уже существует (два аналоговых канала с номером " +
                            std::to_string(ch.An) + ")");
        }
    }
}

bool DiscreteHasStrip(const TDigital& channel) {
    return !IsReserveChannelId(TrimBlanks(channel.ch_id));
}

std::optional<ValueRange> ChannelValueRange(const AnalogColumns& channel) {
    double lo = std::numeric_limits<double>::max();
    double hi = -lo;
    bool any = false;
    const SampleColumn samples = channel.Samples();
    for (std::size_t i = 0; i < samples.size(); ++i) {
        // A gap keeps the recorder's raw marker (often 99999 or 999999), not a value.
        if (samples.IsGap(i)) {
            continue;
        }
        const double v = samples[i];
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        any = true;
    }
    return any ? std::optional<ValueRange>(ValueRange{lo, hi}) : std::nullopt;
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
