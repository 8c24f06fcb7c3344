#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "core/record/harmonic_orders.h"
#include "core/record/record_data.h"

namespace faultscope {

// The harmonic numbers of one channel at one sample as the user reads them.
struct HarmonicReading {
    std::array<double, kHarmonicOrders.size()> rms{};  // by kHarmonicOrders
    double angle = kUndefinedAngle;                    // degrees, 65535 when undefined
};

// The reading at sample `i`, computed in double from the one-cycle sums of the sample's window
// (CalcHarmonicSums), whatever the channel's drawing columns hold; a formula channel's angle is
// its angle formula's. A window that holds a gap gives magnitudes that are not a number and
// kUndefinedAngle. Nothing when the analysis refuses the record (its frequency or spacing).
[[nodiscard]] std::optional<HarmonicReading> ReadHarmonicsAt(std::span<const double> xMs,
                                                             const AnalogColumns& channel,
                                                             double frequency, std::size_t i,
                                                             std::string_view channelId = {});

}  // namespace faultscope
