#pragma once

#include <cstdint>
#include <vector>

#include "record/harmonic_orders.h"

namespace faultscope {

// Per-sample results of the harmonic analysis of one analog channel: RMS of harmonics 1, 2, 3
// and 5 and the angle of the fundamental in degrees (65535 where it is undefined).
struct HarmonicColumns {
    std::vector<double> rms1;
    std::vector<double> rms2;
    std::vector<double> rms3;
    std::vector<double> rms5;
    std::vector<double> angle;

    void Clear() noexcept;
    void Reserve(std::size_t n);
    [[nodiscard]] std::size_t size() const noexcept { return rms1.size(); }
    // The RMS column of harmonic kHarmonicOrders[k].
    [[nodiscard]] const std::vector<double>& Rms(std::size_t k) const noexcept;
};

inline constexpr double kUndefinedAngle = 65535.0;

// The samples of one analog channel. A sample outside the channel's raw range is a gap: the
// line breaks there and the stored value is the raw value, unscaled.
struct AnalogColumns {
    std::vector<double> value;
    std::vector<std::uint8_t> gap;
    HarmonicColumns harmonics;
};

// The state line of one discrete channel: only the points where the state changes, two per
// change, at the levels below.
struct DiscreteColumns {
    static constexpr double kLevelOn = 1.0;
    static constexpr double kLevelOff = -5.0;

    bool hasStrip = true;  // false for a spare channel, whose samples are dropped
    std::vector<double> x;
    std::vector<double> level;
    double oldValue = kLevelOff;
};

// All samples of one record, as columns. Index i of every column is sample i, the zero-based
// position of its line in the sample file.
struct RecordData {
    std::vector<std::int32_t> timeUs;  // microseconds relative to the trigger
    std::vector<double> xMs;           // timeUs / 1000
    std::vector<AnalogColumns> analog;
    std::vector<DiscreteColumns> discrete;
    bool timeAscending = true;  // no sample is earlier than the one before it

    [[nodiscard]] std::size_t SampleCount() const noexcept { return timeUs.size(); }
};

}  // namespace faultscope
