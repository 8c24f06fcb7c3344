#include "core/analysis/harmonics_at.h"

#include "core/analysis/harmonics.h"
#include "core/record/load_error.h"

#include <limits>

namespace faultscope {

std::optional<HarmonicReading> ReadHarmonicsAt(std::span<const double> xMs,
                                               const AnalogColumns& channel, double frequency,
                                               std::size_t i, std::string_view channelId) {
    HarmonicSums sums;
    try {
        sums = CalcHarmonicSums(xMs, channel.Samples(), frequency, i, channelId);
    } catch (const LoadError&) {
        return std::nullopt;
    }
    HarmonicReading reading;
    if (sums.overGap) {
        reading.rms.fill(std::numeric_limits<double>::quiet_NaN());
    } else {
        const HarmonicValues rms = ToCurrentValues(sums);
        reading = {{rms.Current1, rms.Current2, rms.Current3, rms.Current5},
                   FundamentalAngle(sums.re[0], sums.im[0])};
    }
    if (i < channel.formulaAngle.size()) {
        reading.angle = channel.formulaAngle[i];
    }
    return reading;
}

}  // namespace faultscope
