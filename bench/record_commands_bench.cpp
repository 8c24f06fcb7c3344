// `events` and `cut` against `info` of the same record, each run as the user runs it on the
// large synthetic record of 1 000 000 samples (32 analog and 32 discrete channels at 10 kHz, each
// discrete channel changing every half second). Target: each at most 1.2 times `info`.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "bench_record.h"
#include "cli/cli.h"

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

// Takes the output and keeps none of it.
class Discard : public std::streambuf {
  protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

void RunCommand(benchmark::State& state, const std::vector<std::string>& args) {
    Discard discard;
    std::ostream out(&discard);
    std::ostream err(&discard);
    for (auto _ : state) {
        if (faultscope::cli::Run(args, QString(), out, err) != 0) {
            state.SkipWithError("the command failed");
        }
    }
}

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

// Keeps each run's wall time to print the ratios after the table.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                times_[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatio(const std::string& command) const {
        const double info = Time("BM_Info");
        if (info > 0.0) {
            std::printf("%s / BM_Info = %.2f\n", command.c_str(), Time(command) / info);
        }
    }

  private:
    [[nodiscard]] double Time(const std::string& name) const {
        const auto found = times_.find(name + "/real_time");
        return found != times_.end() ? found->second : 0.0;
    }
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("Faultscope");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nAgainst info of the same record (target <= 1.2):\n");
    for (const char* command : {"BM_Events", "BM_CutFault", "BM_CutWhole"}) {
        reporter.PrintRatio(command);
    }
    benchmark::Shutdown();
    return 0;
}
