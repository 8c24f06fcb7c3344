// `faultscope-cli sequence`: the symmetrical components of three phase channels at every sample.
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
using test::RunCli;

using Complex = std::complex<double>;

// The phasor of one channel as `phasors` prints it at a sample.
Complex PrintedPhasor(const std::string& record, std::size_t sample, const std::string& channel) {
    const test::CliResult r = RunCli({"phasors", record, "--sample", std::to_string(sample)});
    EXPECT_EQ(r.status, 0) << r.err;
    for (const auto& row : CsvRows(r.out)) {
        if (row[0] == channel) {
            return std::polar(std::stod(row[4]), std::stod(row[5]) * std::numbers::pi / 180.0);
        }
    }
    ADD_FAILURE() << "no phasor of " << channel;
    return {};
}

double AngleDistance(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

TEST(SequenceCommand, PrintsTheComponentsOfThePhasorsThatPhasorsPrints) {
    QTemporaryDir dir;
    const test::FaultScenario s{.type = FaultType::CAN, .distanceKm = 14.0};
    ASSERT_TRUE(test::WriteFaultRecord(dir.filePath("can"), s));
    const std::string record = dir.filePath("can.cfg").toStdString();
    const test::CliResult r =
        RunCli({"sequence", record, "--channels", "IA ВЛ-110,IB ВЛ-110,IC ВЛ-110"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = CsvRows(r.out);
    ASSERT_EQ(rows.size(), 321u);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "sample,time_ms,i1,a1,i2,a2,i0,a0");
    const Complex a = std::polar(1.0, 2.0 * std::numbers::pi / 3.0);
    // Before the fault, across its start, and in it.
    for (const std::size_t sample : {50, 137, 161, 250, 319}) {
        SCOPED_TRACE(sample);
        const Complex ia = PrintedPhasor(record, sample, "IA ВЛ-110");
        const Complex ib = PrintedPhasor(record, sample, "IB ВЛ-110");
        const Complex ic = PrintedPhasor(record, sample, "IC ВЛ-110");
        const Complex expected[] = {(ia + a * ib + a * a * ic) / 3.0,
                                    (ia + a * a * ib + a * ic) / 3.0, (ia + ib + ic) / 3.0};
        const auto& row = rows[sample + 1];
        ASSERT_EQ(row.size(), 8u);
        EXPECT_EQ(row[0], std::to_string(sample));
        for (std::size_t k = 0; k < 3; ++k) {
            // The printed phasors carry six decimals of kA.
            EXPECT_NEAR(std::stod(row[2 + 2 * k]), std::abs(expected[k]), 2e-6) << k;
            // The angle of a component within the records' rounding of zero means nothing.
            if (std::abs(expected[k]) > 1e-3) {
                const double angle = std::arg(expected[k]) * 180.0 / std::numbers::pi;
                EXPECT_LT(AngleDistance(std::stod(row[3 + 2 * k]), angle), 1e-3) << k;
            }
        }
    }
    // Channels by number give the same.
    EXPECT_EQ(RunCli({"sequence", record, "--channels", "4,5,6"}).out, r.out);
}

// Whether each sample's fundamental of `channel` is undefined, as `harmonics` prints it.
std::vector<bool> UndefinedHarmonics(const std::string& record, const std::string& channel) {
    const test::CliResult r = RunCli({"harmonics", record, "--channel", channel});
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<bool> undefined;
    const auto rows = CsvRows(r.out);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        undefined.push_back(rows[i][4].empty());
    }
    return undefined;
}

TEST(SequenceCommand, PrintsNothingWhereAPhaseWindowHoldsSamplesOutOfRange) {
    struct Case {
        const char* record;
        std::vector<std::string> phases;
    };
    const Case cases[] = {
        {"tshort__COMTRADE.jl/1999-ascii-pq.cfg", {"Ia", "Ib", "Ic"}},
        {"tshort__COMTRADE.jl/1999-ascii-pq.cfg", {"Va", "Vb", "Vc"}},
        {"tshort__COMTRADE.jl/1991-ascii-sel.cfg", {"IAY", "IBY", "ICY"}},  // wholly out of range
        {"tshort__COMTRADE.jl/1991-ascii-sel.cfg", {"IA", "IB", "IC"}},     // wholly in range
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record + (" " + c.phases[0]));
        const std::string record = (test::SamplesDir() / c.record).string();
        const test::CliResult r = RunCli({"sequence", record, "--channels",
                                          c.phases[0] + ',' + c.phases[1] + ',' + c.phases[2]});
        ASSERT_EQ(r.status, 0) << r.err;
        const auto rows = CsvRows(r.out);
        std::vector<std::vector<bool>> phases;
        for (const std::string& phase : c.phases) {
            phases.push_back(UndefinedHarmonics(record, phase));
        }
        ASSERT_EQ(rows.size(), phases[0].size() + 1);
        for (std::size_t i = 0; i < phases[0].size(); ++i) {
            const bool over = phases[0][i] || phases[1][i] || phases[2][i];
            const auto& row = rows[i + 1];
            ASSERT_EQ(row.size(), 8u) << i;
            for (std::size_t k = 0; k < 3; ++k) {
                EXPECT_EQ(row[2 + 2 * k].empty(), over) << i;
                if (over) {
                    EXPECT_EQ(row[3 + 2 * k], "65535.000000") << i;
                }
            }
        }
    }
}

TEST(SequenceCommand, RefusesChannelsThatAreNotATriple) {
    const std::string record =
        (test::SamplesDir() / "tshort__COMTRADE.jl/1999-ascii-pq.cfg").string();
    const std::vector<std::vector<std::string>> wrong = {
        {"sequence", record},
        {"sequence", record, "--channels", "Ia,Ib"},
        {"sequence", record, "--channels", "Ia,Ib,Iz"},
        {"sequence", record, "--channels", "Ia,Ib,Va"},  // amperes and volts
    };
    test::ExpectUsageErrors(wrong);
}

}  // namespace
}  // namespace faultscope
