#include "core/analysis/fault_inception.h"

#include <cmath>

#include "core/analysis/fault_location.h"
#include "core/analysis/phasor_walk.h"

namespace faultscope {
namespace {

std::optional<std::size_t> FirstCycleEnd(std::span<const double> xMs, double frequency) {
    CheckNominalFrequency(frequency, {});
    const double period = (1.0 / frequency) * 1000.0;
    for (std::size_t i = 0; i < xMs.size(); ++i) {
        const HarmonicWindow window = LocateWindow(xMs, period, i, {});
        if (window.length == 0) {
            return std::nullopt;
        }
        if (window.end == i) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<PreFaultCurrents> ReadPreFaultCurrents(std::span<const double> xMs,
                                                     const LineChannels& line, double frequency) {
    const std::optional<std::size_t> sample = FirstCycleEnd(xMs, frequency);
    if (!sample) {
        return std::nullopt;
    }
    PreFaultCurrents preFault{*sample, {}};
    for (std::size_t p = 0; p < 3; ++p) {
        const auto phasor = FundamentalPhasorAt(xMs, *line.currents[p], frequency, *sample);
        if (!phasor) {
            return std::nullopt;
        }
        preFault.rms[p] = std::abs(*phasor) * line.currentFactors[p];
    }
    return preFault;
}

std::optional<std::size_t> FindFaultInception(std::span<const double> xMs, const LineChannels& line,
                                              double frequency, const PreFaultCurrents& preFault) {
    PhasorWalk walk(xMs, line.currents, frequency);
    for (std::size_t i = preFault.sample + 1; i < xMs.size(); ++i) {
        const auto phasors = walk.At(i);
        for (std::size_t p = 0; p < 3; ++p) {
            if (phasors[p] && std::abs(*phasors[p]) * line.currentFactors[p] >
                                  kFaultRiseFactor * preFault.rms[p]) {
                return i;
            }
        }
    }
    return std::nullopt;
}

double EvaluationTimeMs(double inceptionMs, double frequency) noexcept {
    return inceptionMs + kEvaluationDelayCycles * 1000.0 / frequency;
}

}  // namespace faultscope
