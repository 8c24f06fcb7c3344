#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/record/record_data.h"

namespace faultscope::test {

// The gap flags of a channel, one per sample.
inline std::vector<std::uint8_t> Gaps(const AnalogColumns& columns) {
    std::vector<std::uint8_t> gaps(columns.size());
    for (std::size_t i = 0; i < gaps.size(); ++i) {
        gaps[i] = columns.Gap(i) ? 1 : 0;
    }
    return gaps;
}

// The channel as a computed one with sample i replaced; its harmonic columns are kept.
inline void SetSample(AnalogColumns& columns, std::size_t i, double value, bool gap) {
    std::vector<double> values = columns.Values();
    std::vector<std::uint8_t> gaps = Gaps(columns);
    values[i] = value;
    gaps[i] = gap ? 1 : 0;
    HarmonicColumns harmonics = std::move(columns.harmonics);
    FundamentalColumns fundamental = std::move(columns.fundamental);
    columns = AnalogColumns::FromValues(values, gaps);
    columns.harmonics = std::move(harmonics);
    columns.fundamental = std::move(fundamental);
}

}  // namespace faultscope::test
