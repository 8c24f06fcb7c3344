// `faultscope-cli locate`: the type and distance of a fault on a line.
#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <cmath>
#include <string>

#include "support/cli_runner.h"
#include "support/fault_scenario.h"
#include "support/test_paths.h"

namespace faultscope {
namespace {

using test::CsvRows;
using test::FaultScenario;
using test::RunCli;

std::string Write(const QTemporaryDir& dir, const FaultScenario& s, const std::string& name) {
    EXPECT_TRUE(test::WriteFaultRecord(dir.filePath(QString::fromStdString(name)), s));
    return dir.filePath(QString::fromStdString(name) + ".cfg").toStdString();
}

std::vector<std::string> Args(const std::string& record, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {
        "locate",     record,      "--voltages", "UA ВЛ-110,UB ВЛ-110,UC ВЛ-110",
        "--currents", "4,5,6",     "--z1",       "0.12,0.40",
        "--z0",       "0.30,1.20", "--length",   "50"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(LocateCommand, FindsTheTypeAndDistanceOfEveryFaultOnTheLineModel) {
    QTemporaryDir dir;
    for (std::size_t t = 0; t < kFaultTypeNames.size(); ++t) {
        for (const double d : {6.0, 24.0, 44.0}) {
            // Each distance starts the fault at another point of its cycle.
            const FaultScenario s{.type = static_cast<FaultType>(t),
                                  .distanceKm = d,
                                  .currentUnit = t % 2 == 0 ? "kA" : "A",
                                  .inceptionDeg = 7.5 * d};
            const std::string name = std::string(kFaultTypeNames[t]) + std::to_string(int(d));
            SCOPED_TRACE(name);
            const test::CliResult r = RunCli(Args(Write(dir, s, name)));
            ASSERT_EQ(r.status, 0) << r.err;
            const auto rows = CsvRows(r.out);
            ASSERT_EQ(rows.size(), 2u) << r.out;
            EXPECT_EQ(rows[0], (std::vector<std::string>{"type", "time_ms", "distance_km",
                                                         "percent", "r", "x"}));
            const auto& row = rows[1];
            EXPECT_EQ(row[0], kFaultTypeNames[t]);
            // One and a half cycles after the rise is seen, within a cycle of the fault's start.
            const double time = std::stod(row[1]);
            EXPECT_GE(time, test::InceptionMs(s) + 30.0);
            EXPECT_LE(time, test::InceptionMs(s) + 50.0);
            EXPECT_NEAR(std::stod(row[2]), d, 0.01 * 50.0);
            EXPECT_NEAR(std::stod(row[3]), 2.0 * std::stod(row[2]), 1e-5);
            EXPECT_NEAR(std::stod(row[4]), d * 0.12, 0.01 * d * 0.12);
            EXPECT_NEAR(std::stod(row[5]), d * 0.40, 0.01 * d * 0.40);
        }
    }
}

TEST(LocateCommand, EvaluatesAtTheTimeAsked) {
    QTemporaryDir dir;
    const FaultScenario s{.type = FaultType::BCN, .distanceKm = 30.0};
    const std::string record = Write(dir, s, "bcn");
    const test::CliResult late = RunCli(Args(record, {"--time", "140.2"}));
    ASSERT_EQ(late.status, 0) << late.err;
    const auto rows = CsvRows(late.out);
    EXPECT_EQ(rows[1][0], "BCN");
    EXPECT_EQ(rows[1][1], "140.000000");  // the nearest sample
    EXPECT_NEAR(std::stod(rows[1][2]), 30.0, 0.5);

    // Before the fault no phase is faulted.
    const test::CliResult early = RunCli(Args(record, {"--time", "45"}));
    EXPECT_EQ(early.status, 1);
    EXPECT_TRUE(early.out.empty());
    EXPECT_EQ(early.err, "Повреждение не найдено: в момент расчёта ни одна фаза не повреждена\n");
}

TEST(LocateCommand, SaysSoWhenThereIsNoFault) {
    QTemporaryDir dir;
    const test::CliResult quiet = RunCli(Args(Write(dir, FaultScenario{.faultCycles = 0}, "q")));
    EXPECT_EQ(quiet.status, 1);
    EXPECT_TRUE(quiet.out.empty());
    EXPECT_EQ(
        quiet.err,
        "Повреждение не найдено: ни один фазный ток не превысил вдвое доаварийное значение\n");

    // The real record's currents are out of range nearly throughout: nothing is printed.
    const test::CliResult gaps =
        RunCli({"locate", (test::SamplesDir() / "tshort__COMTRADE.jl/1999-ascii-pq.cfg").string(),
                "--voltages", "Va,Vb,Vc", "--currents", "Ia,Ib,Ic", "--z1", "0.1,0.5", "--z0",
                "0.3,1.5", "--length", "10"});
    EXPECT_EQ(gaps.status, 1);
    EXPECT_TRUE(gaps.out.empty());
    EXPECT_EQ(gaps.err.rfind("Повреждение не ", 0), 0u) << gaps.err;
}

TEST(LocateCommand, RefusesWrongArguments) {
    QTemporaryDir dir;
    const std::string record = Write(dir, FaultScenario{}, "an");
    const std::vector<std::vector<std::string>> wrong = {
        {"locate", record, "--voltages", "1,2,3", "--currents", "4,5,6", "--z1", "0.1,0.4", "--z0",
         "0.3,1.2"},
        Args(record, {"--length", "-5"}),
        Args(record, {"--z1", "0.1,0"}),
        Args(record, {"--z0", "0.3;1.2"}),
        Args(record, {"--time", "later"}),
        Args(record, {"--loop", "AN"}),
    };
    test::ExpectUsageErrors(wrong);
}

}  // namespace
}  // namespace faultscope
