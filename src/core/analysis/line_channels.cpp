#include "core/analysis/line_channels.h"

namespace faultscope {

std::optional<LinePhasors> LinePhasorsAt(std::span<const double> xMs, const LineChannels& line,
                                         double frequency, std::size_t i) {
    LinePhasors phasors;
    for (std::size_t p = 0; p < 3; ++p) {
        const auto u = FundamentalPhasorAt(xMs, *line.voltages[p], frequency, i);
        const auto c = FundamentalPhasorAt(xMs, *line.currents[p], frequency, i);
        if (!u || !c) {
            return std::nullopt;
        }
        phasors.voltages[p] = *u * line.voltageFactors[p];
        phasors.currents[p] = *c * line.currentFactors[p];
    }
    return phasors;
}

}  // namespace faultscope
