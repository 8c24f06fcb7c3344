// The sliding fill of the harmonic columns against the direct one-cycle sums per sample, and
// the sliding fill at two window lengths: its cost per sample must not grow with the window.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

#include "core/analysis/harmonic_fill.h"
#include "core/analysis/harmonics.h"
#include "core/record/record_data.h"

namespace {

constexpr double kFrequency = 50.0;

struct Channel {
    std::vector<double> xMs;
    std::vector<double> y;
};

// A 50 Hz fault current with harmonics and noise, sampled windowLength times per period.
Channel MakeChannel(std::size_t count, std::int64_t windowLength) {
    Channel c;
    c.xMs.resize(count);
    c.y.resize(count);
    std::mt19937 random(3);
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    const double periodUs = 1e6 / (kFrequency * static_cast<double>(windowLength));
    for (std::size_t i = 0; i < count; ++i) {
        c.xMs[i] = std::nearbyint(static_cast<double>(i) * periodUs) / 1000.0;
        const double phase = 2.0 * std::numbers::pi * kFrequency * c.xMs[i] / 1000.0;
        c.y[i] = 10.0 + 500.0 * std::sin(phase) + 60.0 * std::sin(3.0 * phase + 0.4) +
                 25.0 * std::sin(5.0 * phase) + noise(random);
    }
    return c;
}

void BM_HarmonicFill(benchmark::State& state) {
    const std::size_t count = 200'000;
    const Channel c = MakeChannel(count, state.range(0));
    faultscope::HarmonicColumns out;
    for (auto _ : state) {
        faultscope::FillHarmonics(c.xMs, c.y, kFrequency, out);
        benchmark::DoNotOptimize(out.rms1.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(count));
}
// 256 per period is 12.8 kHz, whose times in whole microseconds make the window length jitter.
BENCHMARK(BM_HarmonicFill)->Arg(20)->Arg(200)->Arg(256)->Unit(benchmark::kMillisecond);

// The same analysis sample by sample from the defining sums, on fewer samples of the same kind.
void BM_HarmonicFillDirect(benchmark::State& state) {
    const std::size_t count = 20'000;
    const Channel c = MakeChannel(count, state.range(0));
    faultscope::HarmonicColumns out;
    for (auto _ : state) {
        out.Clear();
        for (std::size_t p = 0; p < count; ++p) {
            double angle = 0.0;
            const faultscope::HarmonicValues v =
                faultscope::CalcCurrentValues(c.xMs, c.y, kFrequency, p, angle);
            out.rms1.push_back(v.Current1);
            out.rms2.push_back(v.Current2);
            out.rms3.push_back(v.Current3);
            out.rms5.push_back(v.Current5);
            out.angle.push_back(angle);
        }
        benchmark::DoNotOptimize(out.rms1.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(count));
}
BENCHMARK(BM_HarmonicFillDirect)->Arg(200)->Unit(benchmark::kMillisecond);

// A recorder whose clock steps 100, 101, 102, 103, 104 µs in turn, so that the window length
// changes at every sample, against the same record with a constant 102 µs; 150 000 samples at
// the lowest nominal frequency accepted, 1 Hz, where the windows are longest (about 10 000
// samples). The varying one must stay within 3 times the constant one.
Channel MakeSteppedChannel(bool varying) {
    constexpr std::size_t kCount = 150'000;
    Channel c;
    c.xMs.resize(kCount);
    c.y.resize(kCount);
    std::int64_t us = 0;
    for (std::size_t i = 0; i < kCount; ++i) {
        c.xMs[i] = static_cast<double>(us) / 1000.0;
        c.y[i] = 1000.0 * std::sin(2.0 * std::numbers::pi * c.xMs[i] / 1000.0) +
                 static_cast<double>(i % 7);
        us += varying ? 100 + static_cast<std::int64_t>(i % 5) : 102;
    }
    return c;
}

void BM_HarmonicFillSpacing(benchmark::State& state) {
    const Channel c = MakeSteppedChannel(state.range(0) != 0);
    faultscope::HarmonicColumns out;
    for (auto _ : state) {
        faultscope::FillHarmonics(c.xMs, c.y, 1.0, out);
        benchmark::DoNotOptimize(out.rms1.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(c.y.size()));
}
// 0: constant spacing (the baseline), 1: spacing that changes at every sample.
BENCHMARK(BM_HarmonicFillSpacing)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
