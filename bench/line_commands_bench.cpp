// The commands over phase triples against `harmonics` of one channel, each run as the user runs
// it on a record of 1 000 000 samples of three voltages and three currents. Loading is part of
// every run, so `info` (the load alone) is measured too and the ratios are also given over what
// the commands add to it. Target: `sequence` and `impedance` within 1.5 times `harmonics`.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <numbers>
#include <ostream>
#include <string>
#include <vector>

#include "cli_bench.h"
#include "record_writer.h"

namespace {

constexpr std::uint32_t kSamples = 1'000'000;

// Sample i of UA, UB, UC and IA, IB, IC: a load that becomes a fault of phase A halfway.
void LineSample(std::uint32_t i, std::vector<int>& raw, std::vector<int>&) {
    const bool fault = i > kSamples / 2;
    const double phase = 2.0 * std::numbers::pi * 50.0 * i / 2000.0;
    for (std::size_t c = 0; c < 6; ++c) {
        const bool current = c >= 3;
        double amplitude = current ? 500.0 : 30000.0;
        if (fault && c % 3 == 0) {
            amplitude = current ? 8000.0 : 20000.0;
        }
        const double shift = static_cast<double>(c % 3) * 2.0 * std::numbers::pi / 3.0;
        raw[c] = static_cast<int>(amplitude * std::sin(phase - shift - (current ? 0.5 : 0.0)));
    }
}

// The record, in kV and kA at 2 kHz, written once per run.
std::string RecordPath() {
    static QTemporaryDir dir;
    static const std::string path = [] {
        faultscope::tools::RecordSpec spec;
        spec.station = "Bench";
        spec.device = "Line";
        for (const char* quantity : {"U", "I"}) {
            for (const char* phase : {"A", "B", "C"}) {
                spec.analog.push_back({std::string(quantity) + phase, phase, "L1",
                                       quantity[0] == 'U' ? "kV" : "kA", 0.001});
            }
        }
        spec.rate = 2000.0;
        spec.samples = kSamples;
        spec.firstTime = "01/06/2026,00:00:00.000000";
        spec.triggerTime = spec.firstTime;
        const QString base = QDir(dir.path()).filePath("line");
        if (!faultscope::tools::WriteRecord(base, spec, LineSample)) {
            std::fprintf(stderr, "cannot write the benchmark record\n");
            std::exit(1);
        }
        return (base + ".cfg").toStdString();
    }();
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
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("Faultscope");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    faultscope::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nAgainst harmonics of one channel (target <= 1.5):\n");
    for (const char* command : {"BM_Sequence", "BM_ImpedancePhasePhase", "BM_ImpedanceGround"}) {
        PrintRatio(reporter, command);
    }
    benchmark::Shutdown();
    return 0;
}
