// The commands over phase triples against `harmonics` of one channel, each run as the user runs
// it on a record of 1 000 000 samples of three voltages and three currents. Loading is part of
// every run, so `info` (the load alone) is measured too and the ratios are also given over what
// the commands add to it. Target: `sequence` and `impedance` within 1.5 times `harmonics`.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_record.h"
#include "cli_bench.h"

namespace {

constexpr std::uint32_t kSamples = 1'000'000;

// The record, in kV and kA at 2 kHz, written once per run.
std::string RecordPath() {
    static const std::string path =
        (faultscope::bench::LineRecordBase(kSamples) + ".cfg").toStdString();
    return path;
}

using faultscope::bench::RunCommand;

const std::vector<std::string> kLine = {"--voltages", "UA,UB,UC", "--currents", "IA,IB,IC"};

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

void BM_Info(benchmark::State& state) {
    RunCommand(state, {"info", RecordPath()});
}
void BM_Harmonics(benchmark::State& state) {
    RunCommand(state, {"harmonics", RecordPath(), "--channel", "IA"});
}
void BM_Sequence(benchmark::State& state) {
    RunCommand(state, {"sequence", RecordPath(), "--channels", "IA,IB,IC"});
}
void BM_ImpedancePhasePhase(benchmark::State& state) {
    RunCommand(state, With({"impedance", RecordPath(), "--loop", "AB"}, kLine));
}
void BM_ImpedanceGround(benchmark::State& state) {
    RunCommand(state, With({"impedance", RecordPath(), "--loop", "AN", "--z1", "0.1,0.4", "--z0",
                            "0.3,1.2"},
                           kLine));
}
void BM_Locate(benchmark::State& state) {
    RunCommand(state, With({"locate", RecordPath(), "--z1", "0.1,0.4", "--z0", "0.3,1.2",
                            "--length", "50"},
                           kLine));
}
BENCHMARK(BM_Info)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Harmonics)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Sequence)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImpedancePhasePhase)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImpedanceGround)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Locate)->Unit(benchmark::kMillisecond)->UseRealTime();

// The ratio of `command` to harmonics of one channel, whole and beyond the load.
void PrintRatio(const faultscope::bench::RatioReporter& reporter, const std::string& command) {
    const double load = reporter.Time("BM_Info");
    const double harmonics = reporter.Time("BM_Harmonics");
    const double own = reporter.Time(command);
    if (harmonics > load && load > 0.0) {
        std::printf("%s / BM_Harmonics = %.2f, beyond the load %.2f\n", command.c_str(),
                    own / harmonics, (own - load) / (harmonics - load));
    }
}

}  // namespace

int main(int argc, char** argv) {
    return faultscope::bench::RunCommandBenchmarks(argc, argv, [](const auto& reporter) {
        std::printf("\nAgainst harmonics of one channel (target <= 1.5):\n");
        for (const char* command :
             {"BM_Sequence", "BM_ImpedancePhasePhase", "BM_ImpedanceGround"}) {
            PrintRatio(reporter, command);
        }
    });
}
