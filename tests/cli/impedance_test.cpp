// `faultscope-cli impedance`: the impedance of one loop at every sample.
#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <cmath>
#include <complex>
#include <numbers>

#include "support/cli_runner.h"
#include "support/fault_scenario.h"
#include "support/test_paths.h"

namespace faultscope {
namespace {

using test::CsvRows;
using test::FaultScenario;
using test::RunCli;

std::string Write(const QTemporaryDir& dir, const FaultScenario& s, const char* name) {
    EXPECT_TRUE(test::WriteFaultRecord(dir.filePath(name), s));
    return dir.filePath(QString(name) + ".cfg").toStdString();
}

// The rows whose window lies wholly in the fault.
bool InFault(const FaultScenario& s, const std::vector<std::string>& row) {
    return std::stod(row[1]) >= test::InceptionMs(s) + 20.0;
}

const std::vector<std::string> kLine = {"--voltages", "UA ВЛ-110,UB ВЛ-110,UC ВЛ-110", "--currents",
                                        "IA ВЛ-110,IB ВЛ-110,IC ВЛ-110"};

std::vector<std::string> Args(const std::string& record, const char* loop,
                              std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"impedance", record, "--loop", loop};
    args.insert(args.end(), kLine.begin(), kLine.end());
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(ImpedanceCommand, MeasuresTheLineUpToTheFaultInOhmsWhateverTheUnits) {
    struct Case {
        FaultType type;
        const char* loop;
        const char* voltageUnit;
        const char* currentUnit;
    };
    const Case cases[] = {
        {FaultType::AN, "AN", "kV", "kA"}, {FaultType::BN, "BN", "V", "A"},
        {FaultType::CAN, "CN", "кВ", "А"}, {FaultType::BC, "BC", "kV", "A"},
        {FaultType::ABC, "CA", "V", "kA"},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        const FaultScenario s{.type = c.type,
                              .distanceKm = 33.0,
                              .voltageUnit = c.voltageUnit,
                              .currentUnit = c.currentUnit};
        SCOPED_TRACE(std::string(c.loop) + " in " + c.voltageUnit + ", " + c.currentUnit);
        const test::CliResult r =
            RunCli(Args(Write(dir, s, c.loop), c.loop, {"--z1", "0.12,0.40", "--z0", "0.30,1.2"}));
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "sample,time_ms,r,x");
        const auto rows = CsvRows(r.out);
        ASSERT_EQ(rows.size(), 321u);
        int checked = 0;
        for (std::size_t i = 1; i < rows.size(); ++i) {
            ASSERT_EQ(rows[i].size(), 4u) << i;
            if (InFault(s, rows[i])) {
                EXPECT_NEAR(std::stod(rows[i][2]), 33.0 * 0.12, 0.01) << i;
                EXPECT_NEAR(std::stod(rows[i][3]), 33.0 * 0.40, 0.01) << i;
                ++checked;
            }
        }
        EXPECT_GT(checked, 100);
    }
}

// The phasor of one channel as `phasors` prints it at a sample.
std::complex<double> PrintedPhasor(const std::string& record, const std::string& sample,
                                   const std::string& channel) {
    for (const auto& row : CsvRows(RunCli({"phasors", record, "--sample", sample}).out)) {
        if (row[0] == channel) {
            return std::polar(std::stod(row[4]), std::stod(row[5]) * std::numbers::pi / 180.0);
        }
    }
    ADD_FAILURE() << "no phasor of " << channel;
    return {};
}

TEST(ImpedanceCommand, LeavesAGroundLoopUncompensatedWithoutLineData) {
    QTemporaryDir dir;
    const FaultScenario s{
        .type = FaultType::AN, .distanceKm = 20.0, .voltageUnit = "V", .currentUnit = "A"};
    const std::string record = Write(dir, s, "an");
    const test::CliResult r = RunCli(Args(record, "AN"));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = CsvRows(r.out);
    for (const std::size_t sample : {200, 300}) {
        const auto& row = rows[sample + 1];
        const std::complex<double> z =
            PrintedPhasor(record, row[0], "UA ВЛ-110") / PrintedPhasor(record, row[0], "IA ВЛ-110");
        EXPECT_NEAR(std::stod(row[2]), z.real(), 1e-4) << sample;
        EXPECT_NEAR(std::stod(row[3]), z.imag(), 1e-4) << sample;
        // Without k0 the loop reads far beyond the fault.
        EXPECT_GT(std::stod(row[3]), 20.0 * 0.40 * 1.2);
    }
}

TEST(ImpedanceCommand, PrintsNothingWhereAWindowHoldsSamplesOutOfRange) {
    const std::string record =
        (test::SamplesDir() / "tshort__COMTRADE.jl/1999-ascii-pq.cfg").string();
    std::vector<std::vector<std::vector<std::string>>> harmonics;
    for (const char* channel : {"Vb", "Ia", "Ib", "Ic"}) {
        harmonics.push_back(CsvRows(RunCli({"harmonics", record, "--channel", channel}).out));
    }
    const test::CliResult r =
        RunCli({"impedance", record, "--loop", "BN", "--voltages", "Va,Vb,Vc", "--currents",
                "Ia,Ib,Ic", "--z1", "0.1,0.5", "--z0", "0.3,1.5"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = CsvRows(r.out);
    ASSERT_EQ(rows.size(), harmonics[0].size());
    int over = 0;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        bool gap = false;
        for (const auto& channel : harmonics) {
            gap = gap || channel[i][4].empty();
        }
        if (gap) {
            ++over;
            EXPECT_EQ(rows[i], (std::vector<std::string>{rows[i][0], rows[i][1], "", ""})) << i;
        }
    }
    EXPECT_GT(over, 0);
}

TEST(ImpedanceCommand, RefusesWrongArguments) {
    QTemporaryDir dir;
    const std::string record = Write(dir, FaultScenario{}, "an");
    const std::vector<std::vector<std::string>> wrong = {
        Args(record, "AG"),
        Args(record, "AN", {"--z1", "0.1,0.4"}),
        Args(record, "AN", {"--z1", "0.1", "--z0", "0.3,1.2"}),
        Args(record, "AN", {"--z1", "0.1,0", "--z0", "0.3,1.2"}),
        {"impedance", record, "--loop", "AB", "--voltages", "IA ВЛ-110,IB ВЛ-110,IC ВЛ-110",
         "--currents", "IA ВЛ-110,IB ВЛ-110,IC ВЛ-110"},
        {"impedance", record, "--loop", "AB", "--currents", "4,5,6"},
    };
    test::ExpectUsageErrors(wrong);
}

}  // namespace
}  // namespace faultscope
