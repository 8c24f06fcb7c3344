// Reading a sample file: our reader into columns against the floor of reading, splitting and
// converting every field while keeping nothing.
#include <benchmark/benchmark.h>

#include <QFile>
#include <charconv>
#include <cstring>
#include <vector>

#include "bench_record.h"
#include "record/record_files.h"
#include "record/sample_reader.h"

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
                double v = 0;
                std::from_chars(p, fieldEnd, v);
                sum += v;
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
BENCHMARK(BM_ParseFloor)->Unit(benchmark::kMillisecond);

void BM_ReadSamples(benchmark::State& state) {
    const QString base = bench::LargeRecordBase(kSamples);
    const TCfgFile cfg = LoadCfgFile(base + ".cfg", TextEncoding::Windows);
    for (auto _ : state) {
        TimeBase tb;
        tb.CreateTimeLine(cfg.nrates, cfg.samp, cfg.timemult, cfg.dt_First, cfg.dt_Trigger);
        RecordData data;
        InitRecordData(cfg, data);
        ProgressPump pump;
        ReadSamples(base + ".dat", cfg, tb, data, pump);
        benchmark::DoNotOptimize(&data.analog[0]);
    }
    state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(BM_ReadSamples)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace faultscope
