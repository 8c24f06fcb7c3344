// A formula channel through the evaluator and the library against the same channel computed by
// a plain loop over the columns; and a formula channel made as the formula dialog makes it (value
// formula, harmonic analysis, a new channel of the record) against its two parts measured alone
// on the same samples.
#include <benchmark/benchmark.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "core/analysis/harmonic_fill.h"
#include "core/formula/formula_channel.h"
#include "core/session/record_formula_host.h"
#include "core/session/record_loader.h"
#include "core/viewtemplate/make_formula_channel.h"

namespace faultscope {
namespace {

constexpr std::size_t kSamples = 1'000'000;

// Three phase currents sampled at 2 kHz, a 50 Hz record of 500 s.
struct Fixture {
    Fixture() {
        cfg.freq = 50.0;
        record.timeUs.resize(kSamples);
        record.xMs.resize(kSamples);
        for (std::size_t i = 0; i < kSamples; ++i) {
            record.timeUs[i] = static_cast<std::int32_t>(i * 500);
            record.xMs[i] = static_cast<double>(i) * 0.5;
        }
        for (int c = 0; c < 3; ++c) {
            std::vector<double> values(kSamples);
            for (std::size_t i = 0; i < kSamples; ++i) {
                values[i] = 1000.0 * std::sin(0.0628 * static_cast<double>(i) + c * 2.1);
            }
            record.analog.push_back(AnalogColumns::FromValues(values));
            AnalogChannel& info = cfg.analog.emplace_back();
            info.min = -99999;
            info.max = 99999;
        }
    }

    LoadedRecord loaded;
    RecordData& record = loaded.data;
    RecordConfig& cfg = loaded.cfg;
};

Fixture& MutableData() {
    static Fixture fixture;
    return fixture;
}

const Fixture& Data() {
    return MutableData();
}

void BM_FormulaChannel(benchmark::State& state) {
    const Fixture& data = Data();
    const std::optional<std::size_t> sourceSlots[] = {0, 1, 2};
    for (auto _ : state) {
        FormulaChannel channel =
            ComputeFormulaChannel(data.record, data.cfg, sourceSlots, "I0", "(S1+S2+S3)/3", "", {});
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
    const auto min = static_cast<double>(data.cfg.analog[0].min);
    const auto max = static_cast<double>(data.cfg.analog[0].max);
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

// I0 = (S1+S2+S3)/3 as the dialog makes it: its own evaluator over five source slots, the new
// channel from the record's formula host, the harmonic analysis of its samples.
void BM_CreateFormulaChannel(benchmark::State& state) {
    Fixture& data = MutableData();
    const auto& analog = data.record.analog;
    const auto& info = data.cfg.analog;
    const std::vector<FormulaSlot> sourceSlots = {{&analog[0], &info[0]},
                                                  {&analog[1], &info[1]},
                                                  {&analog[2], &info[2]},
                                                  {&analog[0], &info[0]},
                                                  {&analog[0], &info[0]}};
    FormulaProgram inp;
    inp.SetOnGetValue([&sourceSlots](const FormulaProgram* sender, std::string_view identifier,
                                     Variant& value, const FormulaArguments& args, bool& done) {
        CalcValue(sourceSlots, sender, identifier, value, args, done);
    });
    const AnalogChannel i0 = FormulaChannelInfo(info[0], "I0", 4);
    MessageCallback quiet({});
    for (auto _ : state) {
        FormulaChannelStore store;
        RecordFormulaHost host(data.loaded, store, {});
        const bool made = MakeFormulaChannel(i0, inp, "(S1+S2+S3)/3", "", host, quiet);
        benchmark::DoNotOptimize(made);
        benchmark::DoNotOptimize(store[0].columns.harmonics.rms1.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kSamples));
}
BENCHMARK(BM_CreateFormulaChannel)->Unit(benchmark::kMillisecond);

// The harmonic analysis of one channel of the same record: the other half of the baseline.
void BM_HarmonicFillOneChannel(benchmark::State& state) {
    const Fixture& data = Data();
    const std::vector<double> values = data.record.analog[0].Values();
    HarmonicColumns out;
    for (auto _ : state) {
        FillHarmonics(data.record.xMs, values, data.cfg.freq, out);
        benchmark::DoNotOptimize(out.rms1.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kSamples));
}
BENCHMARK(BM_HarmonicFillOneChannel)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace faultscope
