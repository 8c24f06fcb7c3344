#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/session/record_cut.h"
#include "core/session/record_session.h"
#include "record_writer.h"
#include "support/cli_runner.h"
#include "support/test_paths.h"

namespace faultscope::cli {
namespace {

using Result = test::CliResult;
using test::RunCli;

std::string Demo() {
    return (test::SourceDir() / "examples" / "demo.cfg").string();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> FileLines(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return Lines(file.readAll().toStdString());
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');) {
        fields.push_back(field);
    }
    return fields;
}

// Everything of a sample line after its number and time stamp.
std::string Values(const std::string& line) {
    const std::size_t first = line.find(',');
    return line.substr(line.find(',', first + 1) + 1);
}

// Four discrete channels sampled every 250 µs from a first time with microseconds: one that
// starts on and switches off, pulses (two at one sample), one that never changes.
QString WriteEventRecord(const QTemporaryDir& dir) {
    tools::RecordSpec spec;
    spec.station = "ПС";
    spec.device = "Устройство";
    spec.analog = {{.id = "IA", .ph = "A", .unit = "A"}};
    spec.digital = {{.id = "Пуск"}, {.id = "Отключение"}, {.id = "Вкл"}, {.id = "Тишина"}};
    spec.rate = 4000;
    spec.samples = 200;
    spec.firstTime = "10/12/2026,14:23:05.123456";
    spec.triggerTime = "10/12/2026,14:23:05.133456";
    const QString base = dir.filePath("events");
    EXPECT_TRUE(tools::WriteRecord(base, spec, [](std::uint32_t i, auto& raw, auto& states) {
        raw = {static_cast<int>(i % 7)};
        states = {i >= 50 && i < 120, (i >= 50 && i < 60) || i >= 150, i < 30, 0};
    }));
    return base + ".cfg";
}

TEST(EventsCommand, ListsEveryChangeAfterTheFirstSampleAsTheSampleLinesShowIt) {
    const QTemporaryDir dir;
    const QString cfg = WriteEventRecord(dir);
    const Result r = RunCli({"events", cfg.toStdString()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> rows = Lines(r.out);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], "sample,time_ms,datetime,channel,state");

    // The changes counted straight from the sample lines, in file order then channel order.
    const char* names[] = {"Пуск", "Отключение", "Вкл", "Тишина"};
    std::vector<std::string> expected;
    const std::vector<std::string> lines = FileLines(dir.filePath("events.dat"));
    std::vector<std::string> previous;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::vector<std::string> f = Fields(lines[i]);
        const std::vector<std::string> states(f.end() - 4, f.end());
        for (std::size_t c = 0; i > 0 && c < states.size(); ++c) {
            if (states[c] != previous[c]) {
                expected.push_back(std::to_string(i) + ',' + names[c] + ',' + states[c]);
            }
        }
        previous = states;
    }
    ASSERT_EQ(rows.size() - 1, expected.size()) << r.out;
    for (std::size_t k = 0; k < expected.size(); ++k) {
        const std::vector<std::string> f = Fields(rows[k + 1]);
        ASSERT_EQ(f.size(), 5u) << rows[k + 1];
        EXPECT_EQ(f[0] + ',' + f[3] + ',' + f[4], expected[k]);
    }
    // Sample 50 lies 12.5 ms after the first sample, 2.5 ms after the trigger.
    EXPECT_EQ(rows[2], "50,2.500000,2026-12-10 14:23:05.135956,Пуск,1");
}

TEST(EventsCommand, ARecordWithoutChangesPrintsTheHeaderOnly) {
    const QTemporaryDir dir;
    tools::RecordSpec spec;
    spec.analog = {{.id = "IA", .unit = "A"}};
    spec.digital = {{.id = "Всегда"}};
    spec.samples = 10;
    spec.firstTime = spec.triggerTime = "10/12/2026,14:23:05.000000";
    const QString base = dir.filePath("quiet");
    ASSERT_TRUE(tools::WriteRecord(base, spec, [](std::uint32_t, auto& raw, auto& states) {
        raw = {1};
        states = {1};
    }));
    const Result r = RunCli({"events", (base + ".cfg").toStdString()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "sample,time_ms,datetime,channel,state\n");
}

// The demo's lines of samples first … last, as the cut must hold them.
void ExpectSameSamples(const std::vector<std::string>& original, std::size_t first,
                       const std::vector<std::string>& cut, int stepUs) {
    for (std::size_t k = 0; k < cut.size(); ++k) {
        const std::vector<std::string> f = Fields(cut[k]);
        ASSERT_GE(f.size(), 2u);
        EXPECT_EQ(f[0], std::to_string(k + 1));
        EXPECT_EQ(f[1], std::to_string(static_cast<int>(k) * stepUs));
        EXPECT_EQ(Values(cut[k]), Values(original[first + k])) << k;
    }
}

TEST(CutCommand, TheCutAndTheCutOfACutHoldTheOriginalSamplesByteForByte) {
    const QTemporaryDir dir;
    const std::string base = dir.filePath("fault").toStdString();
    const Result r = RunCli(
        {"cut", Demo(), "--from", "-20", "--to", "80", "--out", base, "--csv", base + ".csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    // The demo samples every 0.5 ms from -100 ms: -20 … 80 ms are samples 160 … 360.
    const std::vector<std::string> demo =
        FileLines(QString::fromStdString((test::SourceDir() / "examples" / "demo.dat").string()));
    const std::vector<std::string> cut = FileLines(QString::fromStdString(base + ".dat"));
    ASSERT_EQ(cut.size(), 201u);
    ExpectSameSamples(demo, 160, cut, 500);

    const std::vector<std::string> cfg = FileLines(QString::fromStdString(base + ".cfg"));
    const std::vector<std::string> demoCfg = FileLines(QString::fromStdString(Demo()));
    ASSERT_EQ(cfg.size(), demoCfg.size());
    for (std::size_t l = 0; l < cfg.size(); ++l) {
        if (l == 28) {
            EXPECT_EQ(cfg[l], "2000,201");
        } else if (l == 29) {
            EXPECT_EQ(cfg[l], "10/12/2026,14:23:05.203000");  // the first kept sample
        } else {
            EXPECT_EQ(cfg[l], demoCfg[l]) << l;  // the trigger at 0 ms is inside: kept
        }
    }

    // It opens again with the same values and time axis.
    RecordSession session{QString()};
    session.Load(QString::fromStdString(base + ".cfg"), {});
    const LoadedRecord& again = session.Record();
    ASSERT_EQ(again.data.SampleCount(), 201u);
    EXPECT_DOUBLE_EQ(again.data.xMs.front(), -20.0);
    EXPECT_DOUBLE_EQ(again.data.xMs.back(), 80.0);

    const std::string base2 = dir.filePath("fault_again").toStdString();
    ASSERT_EQ(RunCli({"cut", base + ".cfg", "--from", "0", "--to", "10", "--out", base2}).status,
              0);
    const std::vector<std::string> cut2 = FileLines(QString::fromStdString(base2 + ".dat"));
    ASSERT_EQ(cut2.size(), 21u);
    ExpectSameSamples(demo, 200, cut2, 500);

    const std::vector<std::string> csv = FileLines(QString::fromStdString(base + ".csv"));
    ASSERT_EQ(csv.size(), 202u);
    EXPECT_EQ(csv[0].substr(0, 22), "time_ms,IA ВЛ-110,IB");
    EXPECT_EQ(Fields(csv[1]).size(), 1u + 8u + 15u);  // the spare channel has no samples
    EXPECT_EQ(csv[1].substr(0, 30), "-20.000000,-133.500000,-307.50");
}

TEST(CutCommand, ATriggerOutsideTheCutMovesToItsStart) {
    const QTemporaryDir dir;
    const std::string base = dir.filePath("late").toStdString();
    ASSERT_EQ(RunCli({"cut", Demo(), "--from", "100", "--to", "150", "--out", base}).status, 0);
    const std::vector<std::string> cfg = FileLines(QString::fromStdString(base + ".cfg"));
    EXPECT_EQ(cfg[29], "10/12/2026,14:23:05.323000");
    EXPECT_EQ(cfg[30], cfg[29]);
}

TEST(CutCommand, AnIntervalWithoutSamplesIsRefusedWithItsReasonAndNothingIsWritten) {
    const QTemporaryDir dir;
    const std::string base = dir.filePath("none").toStdString();
    const struct {
        const char* from;
        const char* to;
        const char* reason;
    } cases[] = {
        {"80", "-20", "Начало интервала должно быть не позже его конца."},
        {"500", "600", "Интервал 500 … 600 мс лежит вне осциллограммы (-100 … 399.5 мс)."},
        {"1.1", "1.2", "В интервале 1.1 … 1.2 мс нет ни одного отсчёта."},
    };
    for (const auto& c : cases) {
        const Result r = RunCli({"cut", Demo(), "--from", c.from, "--to", c.to, "--out", base});
        EXPECT_EQ(r.status, 1) << c.from;
        EXPECT_EQ(r.err, std::string(c.reason) + "\n");
    }
    // A target that cannot be written leaves nothing behind.
    QDir(dir.path()).mkdir("taken.dat");
    const Result r = RunCli(
        {"cut", Demo(), "--from", "0", "--to", "10", "--out", dir.filePath("taken").toStdString()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Не удалось записать файл"), std::string::npos) << r.err;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

TEST(RecordCut, FormulaChannelsFollowTheRecordedOnesAndReadBackWithinTheirScale) {
    const QTemporaryDir dir;
    RecordSession session{QString()};
    session.Load(QString::fromStdString(Demo()), {});
    const LoadedRecord& r = session.Record();
    AnalogChannel info{.ch_id = "Сумма", .uu = "А"};
    std::vector<double> sum(r.data.SampleCount());
    for (std::size_t i = 0; i < sum.size(); ++i) {
        sum[i] = r.data.analog[0].Value(i) + r.data.analog[1].Value(i) + 0.25;
    }
    const AnalogColumns columns = AnalogColumns::FromValues(sum);
    const ExtraChannel extra[] = {{&info, &columns}};
    const SampleRange range = SamplesWithin(r.data, 0, 50);
    const QString base = dir.filePath("with_formula");
    WriteRecordCut(r, range, base, TextEncoding::Windows, extra);

    RecordSession again{QString()};
    again.Load(base + ".cfg", {});
    const LoadedRecord& cut = again.Record();
    ASSERT_EQ(cut.cfg.analog.size(), 9u);
    EXPECT_EQ(cut.cfg.analog[8].ch_id, "Сумма");
    EXPECT_EQ(cut.cfg.digital.size(), r.cfg.digital.size());
    double largest = 0;
    for (std::size_t i = range.first; i <= range.last; ++i) {
        largest = std::max(largest, std::fabs(sum[i]));
    }
    for (std::size_t k = 0; k < range.Count(); ++k) {
        EXPECT_NEAR(cut.data.analog[8].Value(k), sum[range.first + k], largest / 32767) << k;
        EXPECT_EQ(cut.data.analog[0].Value(k), r.data.analog[0].Value(range.first + k));
    }
    EXPECT_EQ(CutBaseName(r.files.fileName, -20, 80.5), "demo_-20_80.5");
}

}  // namespace
}  // namespace faultscope::cli
