#include "core/analysis/line_channels.h"

#include "core/analysis/phasor_math.h"

namespace faultscope {
namespace {

// The factors of the units of `channels`, all of `kind`; nothing when one is not.
std::optional<std::array<double, 3>> Factors(const RecordConfig& cfg,
                                             const std::array<std::size_t, 3>& channels,
                                             QuantityKind kind) {
    std::array<double, 3> factors{};
    for (std::size_t p = 0; p < 3; ++p) {
        if (channels[p] >= cfg.analog.size()) {
            return std::nullopt;
        }
        const std::string& unit = cfg.analog[channels[p]].uu;
        const std::optional<double> factor = UnitFactor(unit);
        if (!factor || KindOfUnit(unit) != kind) {
            return std::nullopt;
        }
        factors[p] = *factor;
    }
    return factors;
}

}  // namespace

std::optional<LineChannels> LineChannelsOf(const RecordConfig& cfg, const RecordData& data,
                                           const std::array<std::size_t, 3>& voltages,
                                           const std::array<std::size_t, 3>& currents) {
    const auto voltageFactors = Factors(cfg, voltages, QuantityKind::Voltage);
    const auto currentFactors = Factors(cfg, currents, QuantityKind::Current);
    if (!voltageFactors || !currentFactors) {
        return std::nullopt;
    }
    LineChannels line;
    for (std::size_t p = 0; p < 3; ++p) {
        if (voltages[p] >= data.analog.size() || currents[p] >= data.analog.size()) {
            return std::nullopt;
        }
        line.voltages[p] = &data.analog[voltages[p]];
        line.currents[p] = &data.analog[currents[p]];
    }
    line.voltageFactors = *voltageFactors;
    line.currentFactors = *currentFactors;
    return line;
}

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
