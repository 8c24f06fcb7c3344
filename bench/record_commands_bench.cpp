// `events` and `cut` against `info` of the same record, each run as the user runs it on the
// large synthetic record of 1 000 000 samples (32 analog and 32 discrete channels at 10 kHz, each
// discrete channel changing every half second). Target: each at most 1.2 times `info`.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_record.h"
#include "cli_bench.h"

namespace {

constexpr std::uint32_t kSamples = 1'000'000;

std::string RecordPath() {
    static const std::string path =
        (faultscope::bench::LargeRecordBase(kSamples) + ".cfg").toStdString();
    return path;
}

std::string OutBase() {
    static QTemporaryDir dir;
    return QDir(dir.path()).filePath("cut").toStdString();
}

using faultscope::bench::RunCommand;

void BM_Info(benchmark::State& state) {
    RunCommand(state, {"info", RecordPath(), "--no-template"});
}
void BM_Events(benchmark::State& state) {
    RunCommand(state, {"events", RecordPath()});
}
// 100 ms around the trigger, as a fault is sent on.
void BM_CutFault(benchmark::State& state) {
    RunCommand(state, {"cut", RecordPath(), "--from", "-20", "--to", "80", "--out", OutBase()});
}
// The whole record: every line copied.
void BM_CutWhole(benchmark::State& state) {
    RunCommand(state,
               {"cut", RecordPath(), "--from", "-100", "--to", "100000", "--out", OutBase()});
}
BENCHMARK(BM_Info)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Events)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CutFault)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CutWhole)->Unit(benchmark::kMillisecond)->UseRealTime();

void PrintRatio(const faultscope::bench::RatioReporter& reporter, const std::string& command) {
    const double info = reporter.Time("BM_Info");
    if (info > 0.0) {
        std::printf("%s / BM_Info = %.2f\n", command.c_str(), reporter.Time(command) / info);
    }
}

}  // namespace

int main(int argc, char** argv) {
    return faultscope::bench::RunCommandBenchmarks(argc, argv, [](const auto& reporter) {
        std::printf("\nAgainst info of the same record (target <= 1.2):\n");
        for (const char* command : {"BM_Events", "BM_CutFault", "BM_CutWhole"}) {
            PrintRatio(reporter, command);
        }
    });
}
