// Reading a sample file: our reader into columns, on one thread and on all, against the floor of
// reading, splitting and converting every field while keeping nothing on one thread; the harmonic
// analysis serial and parallel.
#include <benchmark/benchmark.h>

#include <QFile>
#include <charconv>
#include <cstring>
#include <vector>

#include <numeric>

#include "bench_record.h"
#include "core/record/record_files.h"
#include "core/record/sample_reader.h"
#include "core/session/record_loader.h"

namespace faultscope {
namespace {

constexpr std::uint32_t kSamples = 200'000;

double ParseEveryField(const QString& datPath) {
    QFile file(datPath);
    file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    std::vector<char> buf(1U << 20);
    std::size_t have = 0;
    double sum = 0;
    for (;;) {
        const qint64 got = file.read(buf.data() + have, static_cast<qint64>(buf.size() - have));
        have += static_cast<std::size_t>(std::max<qint64>(got, 0));
        const char* p = buf.data();
        const char* end = p + have;
        const char* lineEnd = nullptr;
        while ((lineEnd = static_cast<const char*>(std::memchr(p, '\n', end - p))) != nullptr) {
            while (p < lineEnd) {
                const char* comma = static_cast<const char*>(std::memchr(p, ',', lineEnd - p));
                const char* fieldEnd = comma != nullptr ? comma : lineEnd;
                while (p < fieldEnd && *p == ' ') {
                    ++p;
                }
                // Integers as integers, as bench/parse_floor and the reader convert them.
                std::int64_t whole = 0;
                const auto [stop, ec] = std::from_chars(p, fieldEnd, whole);
                if (ec == std::errc() && stop == fieldEnd) {
                    sum += static_cast<double>(whole);
                } else {
                    double v = 0;
                    std::from_chars(p, fieldEnd, v);
                    sum += v;
                }
                p = fieldEnd + 1;
            }
            p = lineEnd + 1;
        }
        have = static_cast<std::size_t>(end - p);
        std::memmove(buf.data(), p, have);
        if (got <= 0) {
            break;
        }
    }
    return sum;
}

void BM_ParseFloor(benchmark::State& state) {
    const QString dat = bench::LargeRecordBase(kSamples) + ".dat";
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseEveryField(dat));
    }
    state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(BM_ParseFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadSamples(benchmark::State& state) {
    const QString base = bench::LargeRecordBase(kSamples);
    const RecordConfig cfg = LoadCfgFile(base + ".cfg", TextEncoding::Windows);
    for (auto _ : state) {
        TimeBase tb;
        tb.CreateTimeLine(cfg.nrates, cfg.samp, cfg.timemult, cfg.dt_First, cfg.dt_Trigger);
        RecordData data;
        InitRecordData(cfg, data);
        ProgressPump pump;
        ReadSamples(base + ".dat", cfg, tb, data, pump, AvailableMemory(),
                    SampleSplit{.threads = static_cast<unsigned>(state.range(0))});
        benchmark::DoNotOptimize(&data.analog[0]);
    }
    state.SetItemsProcessed(state.iterations() * kSamples);
}
// Arg: reading threads, 0 = the machine's hardware threads.
BENCHMARK(BM_ReadSamples)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace faultscope

namespace faultscope {
namespace {

// The harmonic analysis of all 32 analog channels of the benchmark record on one thread against
// the pool of the machine's hardware threads (Arg: threads, 0 = all), and of one channel alone,
// as a window or the command line asks for it.
const LoadedRecord& BenchRecord() {
    static const LoadedRecord record =
        LoadRecord(bench::LargeRecordBase(kSamples) + ".cfg", LoadOptions{});
    return record;
}

void BM_HarmonicFill(benchmark::State& state) {
    LoadedRecord record = BenchRecord();
    std::vector<std::size_t> channels(record.data.analog.size());
    std::iota(channels.begin(), channels.end(), std::size_t{0});
    const auto threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        for (AnalogColumns& ch : record.data.analog) {
            ch.harmonics.Clear();
        }
        FillHarmonicsOf(record, channels, {.threads = threads});
        benchmark::DoNotOptimize(&record.data.analog.back().harmonics);
    }
    state.SetItemsProcessed(state.iterations() * kSamples *
                            static_cast<std::int64_t>(channels.size()));
}
BENCHMARK(BM_HarmonicFill)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HarmonicFillOneChannel(benchmark::State& state) {
    LoadedRecord record = BenchRecord();
    const std::size_t channel = 0;
    for (auto _ : state) {
        record.data.analog[channel].harmonics.Clear();
        FillHarmonicsOf(record, std::span(&channel, 1));
        benchmark::DoNotOptimize(&record.data.analog[channel].harmonics);
    }
    state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(BM_HarmonicFillOneChannel)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace faultscope
