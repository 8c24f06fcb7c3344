// `faultscope-cli summary`: one JSON line per record, checked against the commands that print
// each part on its own.
#include <gtest/gtest.h>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cmath>
#include <map>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/record_summary.h"
#include "record_writer.h"
#include "support/cli_runner.h"
#include "support/fault_scenario.h"
#include "support/test_paths.h"

namespace faultscope {
namespace {

using cli::SignalRole;
using test::CsvRows;
using test::RunCli;

// The output's lines, each parsed; a line that is no JSON object fails the test.
std::vector<QJsonObject> JsonLines(const std::string& out) {
    std::vector<QJsonObject> objects;
    EXPECT_TRUE(out.empty() || out.back() == '\n');
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
        EXPECT_TRUE(doc.isObject()) << line;
        objects.push_back(doc.object());
    }
    return objects;
}

std::string Text(const QJsonValue& value) {
    return value.toString().toStdString();
}

// The message `info` gives for a record that cannot be loaded.
std::string LoadMessage(const std::string& record) {
    const test::CliResult r = RunCli({"info", record});
    EXPECT_EQ(r.status, 1) << record;
    return r.err.substr(0, r.err.find('\n'));
}

// The discrete channels of the signal record: the sample each turns on at (0: from the first),
// the sample it turns off at (0: never), and the role its name gives it.
struct Signal {
    const char* name;
    std::uint32_t on;
    std::uint32_t off;
    SignalRole role;
};
constexpr Signal kSignals[] = {
    {"Вкл", 20, 0, SignalRole::Other},
    {"Пуск МТЗ", 0, 30, SignalRole::PickUp},  // on at the start: its first rise is at 70
    {"Пуск МТЗ 2", 70, 0, SignalRole::PickUp},
    {"Пуск на отключение", 60, 0, SignalRole::PickUp},
    {"START ZN", 90, 0, SignalRole::PickUp},
    {"Отключение В1", 110, 0, SignalRole::Trip},
    {"CB Trip", 100, 0, SignalRole::Trip},
    {"Срабатывание ТО", 0, 0, SignalRole::Trip},  // on throughout: no change
};

// Three analog channels sampled at 4 kHz on 50 Hz, `samples` from 10 ms before the trigger:
// IA grows fourfold at sample 160, UA has a "no data" run at 100 … 119 (its largest cycle lies
// across it), and "Нет" is out of range throughout. Discrete channels as kSignals.
QString WriteSignalRecord(const QTemporaryDir& dir, const QString& name,
                          std::uint32_t samples = 400) {
    tools::RecordSpec spec;
    spec.station = "ПС 110 кВ \"Южная\"";
    spec.device = "Регистратор\\1";
    spec.analog = {{.id = "IA", .ph = "A", .unit = "A", .a = 0.5},
                   {.id = "UA", .ph = "A", .unit = "kV", .a = 0.01, .min = -1000, .max = 1000},
                   {.id = "Нет", .unit = "A", .min = -10, .max = 10}};
    for (const Signal& s : kSignals) {
        spec.digital.push_back({.id = s.name});
    }
    spec.rate = 4000;
    spec.samples = samples;
    spec.firstTime = "10/12/2026,14:23:05.123456";
    spec.triggerTime = "10/12/2026,14:23:05.133456";
    const QString base = dir.filePath(name);
    EXPECT_TRUE(tools::WriteRecord(base, spec, [](std::uint32_t i, auto& raw, auto& states) {
        const double wave = std::sin(2 * std::numbers::pi * i / 80.0 + 0.3);
        const double ua = (i >= 100 && i < 130 ? 900 : 600) * wave;
        raw = {static_cast<int>(std::lround((i < 160 ? 100 : 400) * wave)),
               i >= 100 && i < 120 ? 5000 : static_cast<int>(std::lround(ua)), 500};
        states.clear();
        for (const Signal& s : kSignals) {
            states.push_back(i >= s.on && (s.off == 0 || i < s.off));
        }
    }));
    return base + ".cfg";
}

TEST(SignalRole, ComesFromTheWordsOfTheNameInAnyLetterCase) {
    const struct {
        const char* name;
        SignalRole role;
    } cases[] = {
        {"Пуск МТЗ", SignalRole::PickUp},
        {"ПУСК", SignalRole::PickUp},
        {"внешний пуск УРОВ", SignalRole::PickUp},
        {"Pickup 50P1", SignalRole::PickUp},
        {"ZONE START", SignalRole::PickUp},
        {"Срабатывание ДЗ 1 ст.", SignalRole::Trip},
        {"СРАБАТЫВАНИЕ", SignalRole::Trip},
        {"отключение В1", SignalRole::Trip},
        {"TRIP87", SignalRole::Trip},
        {"Пуск на отключение", SignalRole::PickUp},
        {"Start of trip", SignalRole::PickUp},
        {"Вкл", SignalRole::Other},
        {"Блокировка", SignalRole::Other},
        {"Отключено", SignalRole::Other},
        {"", SignalRole::Other},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli::RoleOfSignal(c.name), c.role) << c.name;
    }
}

TEST(SummaryCommand, GivesEveryRecordItsLineInOrderAndABadRecordOnlyItsError) {
    QTemporaryDir dir;
    // The first record takes the longest, so the later ones are done before it.
    const std::string good = WriteSignalRecord(dir, "good", 200'000).toStdString();
    const std::string alone = WriteSignalRecord(dir, "alone").toStdString();
    ASSERT_TRUE(QFile::remove(dir.filePath("alone.dat")));
    const std::string broken = WriteSignalRecord(dir, "broken").toStdString();
    QFile dat(dir.filePath("broken.dat"));
    ASSERT_TRUE(dat.open(QIODevice::ReadWrite));
    QList<QByteArray> sampleLines = dat.readAll().split('\n');
    QList<QByteArray> fields = sampleLines[10].split(',');
    fields[3] = "x";
    sampleLines[10] = fields.join(',');
    ASSERT_TRUE(dat.resize(0));
    dat.write(sampleLines.join('\n'));
    dat.close();
    const std::string fault = dir.filePath("fault.cfg").toStdString();
    ASSERT_TRUE(test::WriteFaultRecord(dir.filePath("fault"), test::FaultScenario{}));
    const std::string again = dir.filePath("good.dat").toStdString();
    const std::vector<std::string> records = {good, alone, broken, fault, "/nonexistent/x.cfg",
                                              again};
    const std::vector<bool> fails = {false, true, true, false, true, false};

    std::vector<std::string> args = {"summary", "--jobs", "3"};
    args.insert(args.end(), records.begin(), records.end());
    const test::CliResult r = RunCli(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.empty()) << r.err;
    const std::vector<QJsonObject> lines = JsonLines(r.out);
    ASSERT_EQ(lines.size(), records.size()) << r.out;
    for (std::size_t k = 0; k < records.size(); ++k) {
        SCOPED_TRACE(records[k]);
        const QJsonObject& line = lines[k];
        EXPECT_EQ(Text(line["file"]), records[k]);
        if (fails[k]) {
            EXPECT_EQ(line.keys(), (QStringList{"error", "file"}));
            EXPECT_EQ(Text(line["error"]), LoadMessage(records[k]));
            continue;
        }
        EXPECT_EQ(line.keys(), (QStringList{"analog", "device", "duration_ms", "fault", "file",
                                            "pickup", "samples", "station", "trigger", "trip"}));
    }
    // What the signal record was written with.
    EXPECT_EQ(Text(lines[0]["station"]), "ПС 110 кВ \"Южная\"");
    EXPECT_EQ(Text(lines[0]["device"]), "Регистратор\\1");
    EXPECT_EQ(Text(lines[0]["trigger"]), "2026-12-10 14:23:05.133456");
    EXPECT_EQ(lines[0]["samples"].toInteger(), 200'000);
    EXPECT_EQ(lines[0]["duration_ms"].toDouble(), 49'999.75);  // 199 999 steps of 0.25 ms
    QJsonObject sameAsGood = lines[0];
    sameAsGood["file"] = QString::fromStdString(again);
    EXPECT_EQ(lines[5], sameAsGood);

    // One worker at a time prints the same.
    args[2] = "1";
    const test::CliResult serial = RunCli(args);
    EXPECT_EQ(serial.status, 1);
    EXPECT_EQ(serial.out, r.out);
}

// The rows of `harmonics` for one channel.
std::vector<std::vector<std::string>> HarmonicRows(const std::string& record,
                                                   const std::string& channel) {
    const test::CliResult r = RunCli({"harmonics", record, "--channel", channel});
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<std::vector<std::string>> rows = CsvRows(r.out);
    rows.erase(rows.begin());
    return rows;
}

TEST(SummaryCommand, TheLargestFundamentalIsTheLargestThatHarmonicsPrints) {
    QTemporaryDir dir;
    const std::string record = WriteSignalRecord(dir, "signals").toStdString();
    const std::string demo = (test::SourceDir() / "examples" / "demo.cfg").string();
    const test::CliResult r = RunCli({"summary", record, demo});
    ASSERT_EQ(r.status, 0) << r.err;
    std::size_t compared = 0;
    for (const QJsonObject& line : JsonLines(r.out)) {
        for (const QJsonValue& entry : line["analog"].toArray()) {
            const QJsonObject channel = entry.toObject();
            SCOPED_TRACE(Text(line["file"]) + " " + Text(channel["channel"]));
            // The first row of the largest printed value; none when every window is over a gap.
            const std::vector<std::vector<std::string>> rows =
                HarmonicRows(Text(line["file"]), Text(channel["channel"]));
            const std::vector<std::string>* largest = nullptr;
            for (const auto& row : rows) {
                ASSERT_EQ(row.size(), 9u);
                if (!row[4].empty() &&
                    (largest == nullptr || std::stod(row[4]) > std::stod((*largest)[4]))) {
                    largest = &row;
                }
            }
            if (largest == nullptr) {
                EXPECT_TRUE(channel["rms1"].isNull());
                EXPECT_TRUE(channel["time_ms"].isNull());
                continue;
            }
            EXPECT_NEAR(channel["rms1"].toDouble(), std::stod((*largest)[4]), 5e-7);
            // The row at the time given prints that largest value (an equal one may come first).
            const double time = channel["time_ms"].toDouble();
            const auto at = std::find_if(rows.begin(), rows.end(), [&](const auto& row) {
                return std::fabs(std::stod(row[1]) - time) < 5e-7;
            });
            ASSERT_NE(at, rows.end());
            EXPECT_EQ((*at)[4], (*largest)[4]);
            ++compared;
        }
    }
    EXPECT_EQ(compared, 2u + 8u);  // "Нет" is out of range throughout
}

TEST(SummaryCommand, TheFirstPickUpAndTripAreTheFirstRisesInTheEventList) {
    QTemporaryDir dir;
    const std::string record = WriteSignalRecord(dir, "signals").toStdString();
    const std::string demo = (test::SourceDir() / "examples" / "demo.cfg").string();
    const std::string quiet = dir.filePath("fault.cfg").toStdString();
    ASSERT_TRUE(test::WriteFaultRecord(dir.filePath("fault"), test::FaultScenario{}));
    std::map<std::string, SignalRole> roles;
    for (const Signal& s : kSignals) {
        roles[s.name] = s.role;
    }
    // The demo's channels by the same rule.
    roles["Пуск ТЗНП"] = SignalRole::PickUp;
    roles["Срабатывание ДЗ 1 ст."] = SignalRole::Trip;
    roles["Отключение от ТЗНП"] = SignalRole::Trip;

    const test::CliResult r = RunCli({"summary", record, demo, quiet});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const QJsonObject& line : JsonLines(r.out)) {
        SCOPED_TRACE(Text(line["file"]));
        const test::CliResult events = RunCli({"events", Text(line["file"])});
        ASSERT_EQ(events.status, 0) << events.err;
        const auto rows = CsvRows(events.out);
        for (const auto& [key, role] :
             {std::pair{"pickup", SignalRole::PickUp}, std::pair{"trip", SignalRole::Trip}}) {
            const auto first = std::find_if(rows.begin() + 1, rows.end(), [&](const auto& row) {
                return row[4] == "1" && roles.contains(row[3]) && roles.at(row[3]) == role;
            });
            const QJsonValue found = line[key];
            if (first == rows.end()) {
                EXPECT_TRUE(found.isNull()) << key;
                continue;
            }
            EXPECT_EQ(Text(found["channel"]), (*first)[3]) << key;
            EXPECT_NEAR(found["time_ms"].toDouble(), std::stod((*first)[1]), 5e-7) << key;
        }
    }
    const QJsonObject first = JsonLines(r.out)[0];
    EXPECT_EQ(Text(first["pickup"]["channel"]), "Пуск на отключение");
    EXPECT_EQ(Text(first["trip"]["channel"]), "CB Trip");
}

// Writes the ".lyt" beside a record.
void WriteTemplate(const QTemporaryDir& dir, const QString& name, const std::string& text) {
    QFile lyt(dir.filePath(name + ".lyt"));
    ASSERT_TRUE(lyt.open(QIODevice::WriteOnly));
    lyt.write(text.c_str());
}

// A template with the line data as the dialog writes it, after a section of the view.
std::string LineData(const std::string& keys) {
    return "[View]\nA=1\n[FaultLocation]\n" + keys;
}

const std::string kLine = "R1=0.12\nX1=0,40\nR0=0.30\nX0=1.2\nLengthKm=50\n";
const std::string kChannels = "Voltages=UA ВЛ-110,UB ВЛ-110,UC ВЛ-110\nCurrents=4,5,6\n";

TEST(SummaryCommand, TheLineDataBesideARecordGiveTheFaultThatLocateFinds) {
    QTemporaryDir dir;
    std::vector<std::string> records;
    for (const auto& [type, km] :
         {std::pair{FaultType::AN, 6.0}, std::pair{FaultType::BC, 24.0},
          std::pair{FaultType::CAN, 44.0}, std::pair{FaultType::ABC, 30.0}}) {
        const QString name = QString::fromUtf8(kFaultTypeNames[static_cast<std::size_t>(type)]);
        ASSERT_TRUE(test::WriteFaultRecord(dir.filePath(name),
                                           {.type = type, .distanceKm = km, .inceptionDeg = km}));
        WriteTemplate(dir, name, LineData(kLine + kChannels));
        records.push_back(dir.filePath(name + ".cfg").toStdString());
    }
    std::vector<std::string> args = {"summary"};
    args.insert(args.end(), records.begin(), records.end());
    const test::CliResult r = RunCli(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<QJsonObject> lines = JsonLines(r.out);
    ASSERT_EQ(lines.size(), records.size());
    for (std::size_t k = 0; k < records.size(); ++k) {
        SCOPED_TRACE(records[k]);
        const test::CliResult located =
            RunCli({"locate", records[k], "--voltages", "1,2,3", "--currents",
                    "IA ВЛ-110,IB ВЛ-110,IC ВЛ-110", "--z1", "0.12,0.4", "--z0", "0.3,1.2",
                    "--length", "50"});
        ASSERT_EQ(located.status, 0) << located.err;
        const std::vector<std::string> expected = CsvRows(located.out).at(1);
        const QJsonObject fault = lines[k]["fault"].toObject();
        EXPECT_EQ(Text(fault["type"]), expected[0]);
        const char* numbers[] = {"time_ms", "distance_km", "percent", "r", "x"};
        for (std::size_t n = 0; n < std::size(numbers); ++n) {
            EXPECT_NEAR(fault[numbers[n]].toDouble(), std::stod(expected[n + 1]), 5e-7)
                << numbers[n];
        }
    }
}

TEST(SummaryCommand, ARecordWithoutUsableLineDataSaysSoInItsFaultOnly) {
    QTemporaryDir dir;
    // A key given twice keeps its first value, so a case's keys come before the good ones.
    const struct {
        const char* name;
        std::optional<std::string> lyt;  // none: no file
        std::string fault;               // "null", or what its error says
        bool noTemplate = false;
    } cases[] = {
        {"bare", std::nullopt, "null"},
        {"other", "[View]\nA=1\n", "null"},
        {"ignored", LineData(kLine + kChannels), "null", true},
        {"short", LineData("R1=0.12\nX1=0.4\nX0=1.2\nLengthKm=50\n" + kChannels), "нет числа R0"},
        {"word", LineData("LengthKm=fifty\n" + kLine + kChannels), "нет числа LengthKm"},
        {"two", LineData("Voltages=UA ВЛ-110,UB ВЛ-110\n" + kLine + kChannels),
         "Voltages должен называть три канала"},
        {"missing", LineData("Voltages=UA ВЛ-110,UB ВЛ-110,UX\n" + kLine + kChannels),
         "назван канал UX, которого нет"},
        {"currents", LineData("Currents=1,2,3\n" + kLine + kChannels),
         "Канал UA ВЛ-110 измеряет не ток"},
        {"flat", LineData("X1=0\n" + kLine + kChannels), "X1 не должно быть нулём"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString::fromUtf8(c.name);
        ASSERT_TRUE(test::WriteFaultRecord(dir.filePath(name), {}));
        if (c.lyt) {
            WriteTemplate(dir, name, *c.lyt);
        }
        std::vector<std::string> args = {"summary", dir.filePath(name + ".cfg").toStdString()};
        if (c.noTemplate) {
            args.push_back("--no-template");
        }
        const test::CliResult r = RunCli(args);
        EXPECT_EQ(r.status, 0) << r.err;
        const std::vector<QJsonObject> lines = JsonLines(r.out);
        ASSERT_EQ(lines.size(), 1u);
        ASSERT_TRUE(lines[0].contains("fault"));
        const QJsonValue fault = lines[0]["fault"];
        if (c.fault == "null") {
            EXPECT_TRUE(fault.isNull());
        } else {
            EXPECT_EQ(fault.toObject().keys(), QStringList{"error"});
            EXPECT_NE(Text(fault["error"]).find(c.fault), std::string::npos)
                << Text(fault["error"]);
        }
    }
}

TEST(SummaryCommand, ALineWithoutAFaultSaysWhatLocateSays) {
    QTemporaryDir dir;
    ASSERT_TRUE(test::WriteFaultRecord(dir.filePath("quiet"), {.faultCycles = 0}));
    WriteTemplate(dir, "quiet", LineData(kLine + kChannels));
    const std::string record = dir.filePath("quiet.cfg").toStdString();
    const test::CliResult located =
        RunCli({"locate", record, "--voltages", "1,2,3", "--currents", "4,5,6", "--z1", "0.12,0.4",
                "--z0", "0.3,1.2", "--length", "50"});
    ASSERT_EQ(located.status, 1);
    const test::CliResult r = RunCli({"summary", record});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::vector<QJsonObject> lines = JsonLines(r.out);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(Text(lines[0]["fault"]["error"]) + '\n', located.err);
}

TEST(SummaryCommand, RecordsOfOtherRecordersNeverStopIt) {
    const std::string folder = test::SamplesDir().string();
    const std::vector<std::string> records = {
        folder + "/tshort__COMTRADE.jl/1999-ascii-pq.cfg",
        folder + "/dparrini__python-comtrade/sample_ascii.cfg",
        folder + "/commander-apemanx__Comtrade-DC-Offset/Sample.cfg",
        folder + "/yonwoo9__go-comtrade/test2.cfg",
    };
    std::vector<std::string> args = {"summary"};
    args.insert(args.end(), records.begin(), records.end());
    const test::CliResult r = RunCli(args);
    EXPECT_EQ(r.status, 1);
    const std::vector<QJsonObject> lines = JsonLines(r.out);
    ASSERT_EQ(lines.size(), records.size());
    for (std::size_t k = 0; k < records.size(); ++k) {
        SCOPED_TRACE(records[k]);
        EXPECT_EQ(Text(lines[k]["file"]), records[k]);
        if (lines[k].contains("error")) {
            EXPECT_EQ(Text(lines[k]["error"]), LoadMessage(records[k]));
        } else {
            EXPECT_EQ(RunCli({"info", records[k]}).status, 0);
            EXPECT_FALSE(lines[k]["analog"].toArray().isEmpty());
        }
    }
    EXPECT_EQ(Text(lines[2]["trip"]["channel"]), "275 StationA 1 M1 REL531 ANY TD TRIP");
}

TEST(SummaryCommand, RefusesWrongArguments) {
    const std::string demo = (test::SourceDir() / "examples" / "demo.cfg").string();
    const std::vector<std::vector<std::string>> wrong = {
        {"summary"},
        {"summary", "--jobs", "2"},
        {"summary", demo, "--jobs", "0"},
        {"summary", demo, "--jobs", "many"},
        {"summary", demo, "--channel", "IA"},
        {"summary", demo, "--unknown"},
        {"info", demo, demo},
    };
    test::ExpectUsageErrors(wrong);
}

}  // namespace
}  // namespace faultscope
