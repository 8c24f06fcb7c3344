#include "cli/cli.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cmath>
#include <numbers>
#include <sstream>

#include "support/test_paths.h"

namespace faultscope::cli {
namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

// Trace files go to `traceFolder`, never beside the test's binary.
Result RunCli(std::vector<std::string> args, const QString& traceFolder = {}) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = Run(args, traceFolder, out, err);
    return {status, out.str(), err.str()};
}

std::string Demo(const char* ext) {
    return (test::SourceDir() / "examples" / "demo").string() + ext;
}

TEST(Cli, InfoDescribesTheRecord) {
    const Result r = RunCli({"info", Demo(".dat")});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* line :
         {"station: ПС 110 кВ Северная\n", "revision: 1999\n", "channels: 24\n", "analog: 8\n",
          "digital: 16\n", "frequency: 50\n", "samp: 2000\n", "endsamp: 1000\n",
          "trigger: 2026-12-10 14:23:05.223\n", "time_ms: -100 399.5\n",
          "analog_8: number=8; id=3U0", "digital_16: number=16; id=[Резерв]"}) {
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
    }
}

TEST(Cli, HarmonicsPrintsOneRowPerSample) {
    const Result r = RunCli({"harmonics", Demo(".cfg"), "--channel", "UA СШ-110"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "sample,time_ms,value,gap,rms1,rms2,rms3,rms5,angle");
    std::getline(lines, line);
    EXPECT_EQ(line.substr(0, 19), "0,-100.000000,0.000");
    int rows = 1;
    while (std::getline(lines, line)) {
        ++rows;
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 8) << line;
    }
    EXPECT_EQ(rows, 1000);
    // The channel's number selects it as well.
    EXPECT_EQ(RunCli({"harmonics", Demo(".cfg"), "--channel", "4"}).out, r.out);
}

// A record of one 50 Hz channel sampled at 1 kHz whose sample 100 is a "no data" marker.
QString WriteRecordWithAGap(const QTemporaryDir& dir) {
    QFile cfg(dir.filePath("gap.cfg"));
    EXPECT_TRUE(cfg.open(QIODevice::WriteOnly));
    cfg.write(
        "S,D,1999\n1,1A,0D\n1,Ua,A,,V,1,0,0,-32767,32767,1,1,P\n50\n1\n1000,200\n"
        "01/01/2020,00:00:00.000000\n01/01/2020,00:00:00.000000\nASCII\n1\n");
    QFile dat(dir.filePath("gap.dat"));
    EXPECT_TRUE(dat.open(QIODevice::WriteOnly));
    for (int i = 0; i < 200; ++i) {
        const int value =
            i == 100
                ? 99999
                : static_cast<int>(std::lround(1000 * std::sin(2 * std::numbers::pi * i / 20)));
        dat.write(QString("%1,%2,%3\n").arg(i + 1).arg(i * 1000).arg(value).toUtf8());
    }
    return cfg.fileName();
}

TEST(Cli, AWindowOverMissingSamplesPrintsNoHarmonicsAndNoAngle) {
    QTemporaryDir dir;
    const std::string record = WriteRecordWithAGap(dir).toStdString();
    const Result harmonics = RunCli({"harmonics", record, "--channel", "Ua"});
    ASSERT_EQ(harmonics.status, 0) << harmonics.err;
    std::istringstream lines(harmonics.out);
    std::string line;
    std::getline(lines, line);
    for (int i = 0; std::getline(lines, line); ++i) {
        SCOPED_TRACE(line);
        const bool over = i >= 100 && i < 120;
        EXPECT_EQ(line.find(",,,,65535.000000") != std::string::npos, over);
    }
    const Result over = RunCli({"phasors", record, "--sample", "110"});
    ASSERT_EQ(over.status, 0) << over.err;
    EXPECT_EQ(over.out,
              "channel,unit,sample,time_ms,rms1,angle\nUa,V,110,110.000000,,65535.000000\n");
    const Result clear = RunCli({"phasors", record, "--sample", "120"});
    EXPECT_EQ(clear.out.find(",,"), std::string::npos) << clear.out;
}

TEST(Cli, InfoCountsOnlyChangesAfterTheFirstSample) {
    // "On" is set from the first sample to the last; "Trip" switches on once.
    QTemporaryDir dir;
    QFile cfg(dir.filePath("d.cfg"));
    ASSERT_TRUE(cfg.open(QIODevice::WriteOnly));
    cfg.write(
        "S,D,1999\n3,1A,2D\n1,Ua,A,,V,1,0,0,-32767,32767,1,1,P\n1,On,,,0\n2,Trip,,,0\n"
        "50\n1\n1000,4\n01/01/2020,00:00:00.000000\n01/01/2020,00:00:00.000000\n"
        "ASCII\n1\n");
    cfg.close();
    QFile dat(dir.filePath("d.dat"));
    ASSERT_TRUE(dat.open(QIODevice::WriteOnly));
    dat.write("1,0,0,1,0\n2,1000,0,1,0\n3,2000,0,1,1\n4,3000,0,1,1\n");
    dat.close();
    const Result r = RunCli({"info", cfg.fileName().toStdString()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("id=On; ph=; ccbm=; normal=0; strip=1; changes=0\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("id=Trip; ph=; ccbm=; normal=0; strip=1; changes=1\n"), std::string::npos)
        << r.out;
}

TEST(Cli, HelpAndVersionAnswerOnStandardOutput) {
    const Result version = RunCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("faultscope-cli ") + FAULTSCOPE_VERSION + "\n");
    for (const char* help : {"--help", "-h"}) {
        const Result r = RunCli({help});
        EXPECT_EQ(r.status, 0) << help;
        EXPECT_EQ(r.out.rfind("Usage:\n", 0), 0u) << help;
        EXPECT_TRUE(r.err.empty()) << help;
    }
}

TEST(Cli, LoadFailuresPrintTheUsersMessage) {
    const Result r =
        RunCli({"info", (test::SamplesDir() / "yonwoo9__go-comtrade/test2.cfg").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Ошибка создания оси времени. nrates не равен одному\n");
    EXPECT_TRUE(r.out.empty());
    const Result missing = RunCli({"info", "/nonexistent/x.cfg"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Такого файла не существует: /nonexistent/x.cfg\n");
}

TEST(Cli, ATraceThatCannotBeWrittenIsOnlyAWarning) {
    // The record has a channel "Ia", whose analysis is traced.
    const std::string record =
        (test::SamplesDir() / "tshort__COMTRADE.jl/1999-ascii-pq.cfg").string();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Result written = RunCli({"info", record}, dir.path());
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_TRUE(written.err.empty()) << written.err;
    EXPECT_TRUE(QFileInfo(dir.filePath("Ia.csv")).size() > 0);

    const Result refused = RunCli({"info", record}, dir.filePath("missing folder"));
    EXPECT_EQ(refused.status, 0);
    EXPECT_EQ(refused.out, written.out);
    EXPECT_NE(refused.err.find("Не удалось записать файл трассировки гармоник"), std::string::npos)
        << refused.err;
    EXPECT_NE(refused.err.find("missing folder/Ia.csv"), std::string::npos) << refused.err;
}

TEST(Cli, FormulaComputesAChannelOverTheSources) {
    const Result mean = RunCli({"formula", Demo(".cfg"), "--sources",
                                "IA ВЛ-110,IB ВЛ-110,IC ВЛ-110", "--value", "(S1+S2+S3)/3"});
    ASSERT_EQ(mean.status, 0) << mean.err;
    const Result zero = RunCli({"harmonics", Demo(".cfg"), "--channel", "3I0 ВЛ-110"});
    std::istringstream a(mean.out);
    std::istringstream b(zero.out);
    std::string lineA;
    std::string lineB;
    std::getline(a, lineA);
    std::getline(b, lineB);
    EXPECT_EQ(lineA, lineB);
    int rows = 0;
    // 3I0 is the sum of the phase currents: the mean is a third of it, sample by sample.
    while (std::getline(a, lineA) && std::getline(b, lineB)) {
        const double mean3 = std::stod(lineA.substr(lineA.find(',', lineA.find(',') + 1) + 1));
        const double sum = std::stod(lineB.substr(lineB.find(',', lineB.find(',') + 1) + 1));
        EXPECT_NEAR(3 * mean3, sum, 1.0) << lineA;
        ++rows;
    }
    EXPECT_EQ(rows, 1000);

    const Result angle = RunCli(
        {"formula", Demo(".cfg"), "--sources", ",,UA СШ-110", "--value", "1", "--angle", "ANGLE3"});
    EXPECT_EQ(angle.status, 2);  // slot 1 must name a channel
    const Result withAngle = RunCli(
        {"formula", Demo(".cfg"), "--sources", "UA СШ-110", "--value", "S1", "--angle", "45"});
    ASSERT_EQ(withAngle.status, 0) << withAngle.err;
    EXPECT_NE(withAngle.out.find(",45.000000\n"), std::string::npos);
}

TEST(Cli, FormulaFailuresPrintWhatTheUserSees) {
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"--sources", "IA ВЛ-110", "--value", "SQRT(S1)"},
         "Нельзя взять корень из отрицательного числа.\nГрафик не создан.\n"},
        {{"--sources", "IA ВЛ-110", "--value", "FOO(S1)"},
         "Ошибка в формуле значения, позиция 1, отсчёт 0: Undeclared Identifier 'FOO'\n"
         "График не создан.\n"},
        {{"--sources", "IA ВЛ-110", "--value", "S1 +"},
         "Ошибка в формуле значения, позиция 5: Expression expected but end of formula found\n"
         "График не создан.\n"},
        {{"--sources", "Nope", "--value", "S1"},
         "Графика с именем Nope нет в открытой осцилограмме.\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"formula", Demo(".cfg")};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Result r = RunCli(args);
        EXPECT_EQ(r.status, 1) << c.args[3];
        EXPECT_EQ(r.err, c.err) << c.args[3];
        EXPECT_TRUE(r.out.empty());
    }
}

// Field `k` (from 0) of a CSV line.
std::string Field(const std::string& line, int k) {
    std::size_t start = 0;
    for (int i = 0; i < k; ++i) {
        start = line.find(',', start) + 1;
    }
    return line.substr(start, line.find(',', start) - start);
}

TEST(Cli, PhasorsPrintEveryChannelAtTheNearestSample) {
    const Result r = RunCli({"phasors", Demo(".cfg"), "--time", "30.2"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "channel,unit,sample,time_ms,rms1,angle");
    int channel = 0;
    while (std::getline(lines, line)) {
        ++channel;
        // Sample 260 at 30 ms is the nearest; its values are those harmonics prints for it.
        EXPECT_EQ(Field(line, 2), "260");
        EXPECT_EQ(Field(line, 3), "30.000000");
        const std::string all =
            RunCli({"harmonics", Demo(".cfg"), "--channel", std::to_string(channel)}).out;
        const std::size_t row = all.find("\n260,");
        ASSERT_NE(row, std::string::npos);
        const std::string sample = all.substr(row + 1, all.find('\n', row + 1) - row - 1);
        EXPECT_EQ(Field(line, 4), Field(sample, 4)) << line;
        EXPECT_EQ(Field(line, 5), Field(sample, 8)) << line;
    }
    EXPECT_EQ(channel, 8);
    EXPECT_EQ(Field(r.out.substr(r.out.find('\n') + 1), 0), "IA ВЛ-110");
    EXPECT_EQ(RunCli({"phasors", Demo(".cfg"), "--sample", "260"}).out, r.out);
    // Halfway between two samples the earlier one is taken, as a click takes it.
    EXPECT_EQ(RunCli({"phasors", Demo(".cfg"), "--time", "30.25"}).out, r.out);
}

TEST(Cli, PhasorsNeedOneValidPlace) {
    const std::vector<std::vector<std::string>> wrong = {
        {"phasors", Demo(".cfg")},
        {"phasors", Demo(".cfg"), "--time", "1", "--sample", "2"},
        {"phasors", Demo(".cfg"), "--time", "abc"},
        {"phasors", Demo(".cfg"), "--sample", "-1"},
        {"phasors", Demo(".cfg"), "--sample", "1000"},
    };
    for (const auto& args : wrong) {
        const Result r = RunCli(args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("Usage:"), std::string::npos);
    }
    EXPECT_EQ(RunCli({"phasors", "/nonexistent.cfg", "--time", "0"}).status, 1);
}

// Accepts `room` bytes, then refuses every write, as a full disk does.
class FullDevice : public std::streambuf {
  public:
    explicit FullDevice(std::size_t room) : room_(room) {}

  protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()) || room_ == 0) {
            return traits_type::eof();
        }
        --room_;
        return c;
    }

  private:
    std::size_t room_;
};

TEST(Cli, RefusedWritesFailTheRun) {
    // Nothing fits, a part fits, and everything but the end fits (the last write fails).
    const std::string full = RunCli({"harmonics", Demo(".cfg"), "--channel", "4"}).out;
    for (std::size_t room : {std::size_t{0}, std::size_t{4096}, full.size() - 1}) {
        FullDevice device(room);
        std::ostream out(&device);
        std::ostringstream err;
        EXPECT_EQ(cli::Run({"harmonics", Demo(".cfg"), "--channel", "4"}, out, err), 1) << room;
        EXPECT_EQ(err.str(), "faultscope-cli: не удалось записать результат в стандартный вывод\n");
    }
    FullDevice device(0);
    std::ostream out(&device);
    std::ostringstream err;
    EXPECT_EQ(cli::Run({"info", Demo(".cfg")}, out, err), 1);
    EXPECT_NE(err.str().find("не удалось записать"), std::string::npos);
}

TEST(Cli, TheRecordsSavedFormulaChannelsAreMadeUnlessTheTemplateIsIgnored) {
    QTemporaryDir dir;
    for (const char* ext : {".cfg", ".dat"}) {
        ASSERT_TRUE(QFile::copy(QString::fromStdString(Demo(ext)), dir.filePath("demo") + ext));
    }
    const QByteArray lyt =
        QStringLiteral(
            "[ChartCreate]\nChart_I0=I0\nChart_Lost=Lost\n"
            "[I0]\nSourceChartName=IA ВЛ-110,IB ВЛ-110,IC ВЛ-110\nChartInfoStr=I0@(S1+S2+S3)/3@@\n"
            "min=-32767\nmax=32767\n"
            "[Lost]\nSourceChartName=Nope\nChartInfoStr=Lost@S1@@\n")
            .toUtf8();
    QFile file(dir.filePath("demo.lyt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(lyt);
    file.close();
    const std::string record = dir.filePath("demo.cfg").toStdString();

    const Result info = RunCli({"info", record});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("analog_9: number=9; id=I0; ph=; ccbm=; unit=; a=1; b=0; min=-32767; "
                            "max=32767; ps=P; reserve=0; gaps=0; formula=(S1+S2+S3)/3; angle=\n"),
              std::string::npos)
        << info.out;
    EXPECT_LT(info.out.find("analog_9:"), info.out.find("digital_1:"));
    EXPECT_EQ(info.err,
              "faultscope-cli: Графика с именем Nope нет в открытой осцилограмме.\n"
              "faultscope-cli: the template's channel Lost was not made\n");

    const Result saved = RunCli({"harmonics", record, "--channel", "I0"});
    ASSERT_EQ(saved.status, 0) << saved.err;
    const Result direct = RunCli({"formula", record, "--sources", "IA ВЛ-110,IB ВЛ-110,IC ВЛ-110",
                                  "--value", "(S1+S2+S3)/3"});
    ASSERT_EQ(direct.status, 0) << direct.err;
    EXPECT_EQ(saved.out, direct.out);

    const Result plain = RunCli({"info", record, "--no-template"});
    EXPECT_EQ(plain.out.find("analog_9:"), std::string::npos);
    EXPECT_TRUE(plain.err.empty()) << plain.err;
    EXPECT_EQ(RunCli({"harmonics", record, "--channel", "I0", "--no-template"}).status, 2);

    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), lyt) << "the tool never writes the template";
}

TEST(Cli, ASavedChannelThatFailsPartWayIsNotMadeNorTheOnesBuiltOnIt) {
    QTemporaryDir dir;
    for (const char* ext : {".cfg", ".dat"}) {
        ASSERT_TRUE(QFile::copy(QString::fromStdString(Demo(ext)), dir.filePath("demo") + ext));
    }
    // The root is taken while the current stays above -450 A, so the formula fails part way.
    QFile file(dir.filePath("demo.lyt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        QStringLiteral("[ChartCreate]\nChart_Half=Half\nChart_On=On\n"
                       "[Half]\nSourceChartName=IA ВЛ-110\nChartInfoStr=Half@SQRT(S1+450)@@\n"
                       "[On]\nSourceChartName=Half\nChartInfoStr=On@S1*2@@\n")
            .toUtf8());
    file.close();
    const std::string record = dir.filePath("demo.cfg").toStdString();

    const Result info = RunCli({"info", record});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.out.find("analog_9:"), std::string::npos) << info.out;
    EXPECT_NE(info.err.find("Нельзя взять корень из отрицательного числа."), std::string::npos)
        << info.err;
    for (const char* name : {"Half", "On"}) {
        EXPECT_NE(info.err.find(std::string("the template's channel ") + name + " was not made"),
                  std::string::npos)
            << info.err;
    }
    EXPECT_NE(info.err.find("Графика с именем Half нет"), std::string::npos) << info.err;

    const Result half = RunCli({"harmonics", record, "--channel", "Half"});
    EXPECT_EQ(half.status, 1);
    EXPECT_TRUE(half.out.empty()) << half.out.substr(0, 200);
    EXPECT_NE(half.err.find("channel Half was not made"), std::string::npos) << half.err;
}

TEST(Cli, WrongArgumentsShowUsage) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"draw", Demo(".cfg")},
        {"info"},
        {"info", Demo(".cfg"), "--encoding", "koi8"},
        {"harmonics", Demo(".cfg")},
        {"harmonics", Demo(".cfg"), "--channel", "nope"},
        {"info", Demo(".cfg"), "extra"},
        {"formula", Demo(".cfg"), "--sources", "IA ВЛ-110"},
        {"formula", Demo(".cfg"), "--value", "S1"},
    };
    for (const auto& args : cases) {
        const Result r = RunCli(args);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args[0]);
        EXPECT_NE(r.err.find("Usage:"), std::string::npos);
    }
}

}  // namespace
}  // namespace faultscope::cli

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("Faultscope");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
