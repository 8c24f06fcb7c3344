#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <random>
#include <vector>

namespace faultscope::test {

// Sample times in milliseconds as the time base makes them: whole microseconds from the sample
// number and the rate, so that rates with a fractional period jitter by a microsecond.
inline std::vector<double> SampleTimes(std::size_t count, double rateHz, double startMs = 0.0) {
    std::vector<double> x(count);
    const double periodUs = (1.0 / rateHz) * 1'000'000.0;
    for (std::size_t n = 0; n < count; ++n) {
        x[n] = startMs + std::nearbyint(static_cast<double>(n) * periodUs) / 1000.0;
    }
    return x;
}

// Appends `count` samples at `rateHz` after the last time of x.
inline void AppendSampleTimes(std::vector<double>& x, std::size_t count, double rateHz) {
    const double start = x.back();
    const std::vector<double> more = SampleTimes(count + 1, rateHz, start);
    x.insert(x.end(), more.begin() + 1, more.end());
}

struct Tone {
    int order;
    double amplitude;
    double phaseDeg;  // sine phase at time 0
};

// dc + Σ amplitude · sin(2π · order · f · t + phase) + uniform noise in ±noise.
inline std::vector<double> Waveform(const std::vector<double>& xMs, double frequency, double dc,
                                    const std::vector<Tone>& tones, double noise = 0.0,
                                    unsigned seed = 1) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> jitter(-noise, noise);
    std::vector<double> y(xMs.size());
    for (std::size_t i = 0; i < xMs.size(); ++i) {
        double v = dc;
        for (const Tone& tone : tones) {
            const double turns = tone.order * frequency * xMs[i] / 1000.0 + tone.phaseDeg / 360.0;
            v += tone.amplitude * std::sin(2.0 * std::numbers::pi * turns);
        }
        y[i] = noise > 0.0 ? v + jitter(random) : v;
    }
    return y;
}

// The distance between two angles in degrees, across the 0/360 seam.
inline double AngleDistance(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

}  // namespace faultscope::test
