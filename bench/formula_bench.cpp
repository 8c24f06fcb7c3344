// A formula channel through the evaluator and the library against the same channel computed by
// a plain loop over the columns.
#include <benchmark/benchmark.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "analysis/formula_channel.h"

namespace faultscope {
namespace {

constexpr std::size_t kSamples = 1'000'000;

struct Fixture {
    Fixture() {
        record.timeUs.resize(kSamples);
        record.xMs.resize(kSamples);
        for (int c = 0; c < 3; ++c) {
            std::vector<double> values(kSamples);
            for (std::size_t i = 0; i < kSamples; ++i) {
                values[i] = 1000.0 * std::sin(0.0628 * static_cast<double>(i) + c * 2.1);
            }
            record.analog.push_back(AnalogColumns::FromValues(values));
            TAnalog& info = cfg.AnalogChenel.emplace_back();
            info.min = -99999;
            info.max = 99999;
        }
    }

    RecordData record;
    TCfgFile cfg;
};

const Fixture& Data() {
    static const Fixture fixture;
    return fixture;
}

void BM_FormulaChannel(benchmark::State& state) {
    const Fixture& data = Data();
    const std::optional<std::size_t> slots[] = {0, 1, 2};
    for (auto _ : state) {
        FormulaChannel channel =
            ComputeFormulaChannel(data.record, data.cfg, slots, "I0", "(S1+S2+S3)/3", "", {});
        benchmark::DoNotOptimize(&channel.columns);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kSamples));
}
BENCHMARK(BM_FormulaChannel)->Unit(benchmark::kMillisecond);

void BM_FormulaNative(benchmark::State& state) {
    const Fixture& data = Data();
    const std::vector<double> s1 = data.record.analog[0].Values();
    const std::vector<double> s2 = data.record.analog[1].Values();
    const std::vector<double> s3 = data.record.analog[2].Values();
    const auto min = static_cast<double>(data.cfg.AnalogChenel[0].min);
    const auto max = static_cast<double>(data.cfg.AnalogChenel[0].max);
    for (auto _ : state) {
        AnalogColumns channel;
        channel.Reserve(kSamples);
        for (std::size_t i = 0; i < kSamples; ++i) {
            const double v = (s1[i] + s2[i] + s3[i]) / 3;
            const bool inside = min <= v && v <= max;
            channel.AppendValue(inside ? v : 0.0, !inside);
        }
        benchmark::DoNotOptimize(&channel);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kSamples));
}
BENCHMARK(BM_FormulaNative)->Unit(benchmark::kMillisecond);

// Translating a formula of n distinct names: the time per name must not grow with n, so 100 000
// names take about 100 times what 1 000 take.
void BM_CompileDistinctNames(benchmark::State& state) {
    std::string formula = "N0";
    for (std::int64_t i = 1; i < state.range(0); ++i) {
        formula += "+N" + std::to_string(i);
    }
    const std::string script = FormulaScript(formula);
    for (auto _ : state) {
        benchmark::DoNotOptimize(CompileScript(script));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(script.size()));
}
BENCHMARK(BM_CompileDistinctNames)->Arg(1'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace faultscope
