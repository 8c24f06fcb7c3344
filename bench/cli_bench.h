#pragma once

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QString>
#include <cstdio>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace faultscope::bench {

// Takes a command's output and keeps none of it.
class Discard : public std::streambuf {
  protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// Runs faultscope-cli with `args` in every iteration, as the user runs it.
inline void RunCommand(benchmark::State& state, const std::vector<std::string>& args) {
    Discard discard;
    std::ostream out(&discard);
    std::ostream err(&discard);
    for (auto _ : state) {
        if (cli::Run(args, QString(), out, err) != 0) {
            state.SkipWithError("the command failed");
        }
    }
}

// Keeps each run's wall time, to print ratios against a baseline of the same run after the
// table.
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
    // The wall time of a benchmark registered with UseRealTime; 0 when it did not run.
    [[nodiscard]] double Time(const std::string& name) const {
        const auto found = times_.find(name + "/real_time");
        return found != times_.end() ? found->second : 0.0;
    }

  private:
    std::map<std::string, double> times_;
};

// The body of main() for benchmarks of commands: under an application object, as the command
// line runs; `ratios` prints what the runs add up to after the table.
inline int RunCommandBenchmarks(int argc, char** argv,
                                const std::function<void(const RatioReporter&)>& ratios) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("Faultscope");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    ratios(reporter);
    benchmark::Shutdown();
    return 0;
}

}  // namespace faultscope::bench
