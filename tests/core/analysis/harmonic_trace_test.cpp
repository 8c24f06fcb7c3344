#include "core/analysis/harmonic_trace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QFileInfo>
#include <functional>

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "core/analysis/harmonic_signals.h"
#include "core/analysis/harmonics.h"

namespace faultscope {
namespace {

using test::SampleTimes;
using test::Waveform;

class HarmonicTrace : public ::testing::Test {
  protected:
    HarmonicTrace()
        : x_(SampleTimes(3000, 1000.0, -500.0)),
          y_(Waveform(x_, 50.0, 2.0, {{1, 100.0, 15.0}, {3, 10.0, 0.0}}, 1.0)) {}

    // The warnings of the load.
    std::vector<std::string> Load(std::string_view channelId, const QString& folder) {
        HarmonicColumns out;
        std::vector<std::string> warnings;
        FillChannelHarmonics(x_, y_, 50.0, channelId, folder, out, nullptr, &warnings);
        EXPECT_EQ(out.size(), y_.size());
        return warnings;
    }

    QList<QByteArray> Lines(const QString& name) const {
        QFile file(dir_.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray content = file.readAll();
        EXPECT_TRUE(content.endsWith("\r\n"));
        QList<QByteArray> lines = content.split('\n');
        lines.removeLast();
        for (QByteArray& line : lines) {
            EXPECT_TRUE(line.endsWith('\r'));
            line.chop(1);
        }
        return lines;
    }

    // Checks the data lines of one load against the direct computation.
    void ExpectLoadLines(const QList<QByteArray>& lines, qsizetype first) const {
        const QByteArray point = QLocale::system().decimalPoint().toUtf8();
        ASSERT_GE(lines.size(), first + static_cast<qsizetype>(x_.size()));
        for (std::size_t p = 0; p < x_.size(); ++p) {
            const QList<QByteArray> fields = lines[first + static_cast<qsizetype>(p)].split(';');
            ASSERT_EQ(fields.size(), 3);
            const HarmonicSums sums = CalcHarmonicSums(x_, y_, 50.0, p);
            ASSERT_EQ(fields[0].toULongLong(), p < 20 ? p + 20 : p);
            for (int f = 1; f < 3; ++f) {
                ASSERT_TRUE(fields[f].contains(point) && fields[f].split(point[0])[1].size() == 4)
                    << fields[f].toStdString();
                const double value = QByteArray(fields[f]).replace(point, ".").toDouble();
                const double expected = f == 1 ? sums.re[0] : sums.im[0];
                ASSERT_NEAR(value, expected, 0.00005 + 1e-9) << p;
            }
        }
    }

    QTemporaryDir dir_;
    std::vector<double> x_;
    std::vector<double> y_;
};

TEST_F(HarmonicTrace, WritesHeaderOnceAndAppendsALinePerSampleOnEveryLoad) {
    ASSERT_TRUE(dir_.isValid());
    Load("Ia", dir_.path());
    QList<QByteArray> lines = Lines("Ia.csv");
    ASSERT_EQ(lines.size(), 3001);
    // The header in Windows-1251.
    EXPECT_EQ(lines[0], QByteArray("\xcd\xee\xec\xe5\xf0 \xf2\xee\xf7\xea\xe8;Re1;Im1"));
    ExpectLoadLines(lines, 1);

    Load("Ia", dir_.path());
    lines = Lines("Ia.csv");
    ASSERT_EQ(lines.size(), 6001);
    EXPECT_EQ(lines.count(lines[0]), 1);
    ExpectLoadLines(lines, 3001);

    Load("Ib", dir_.path());
    EXPECT_EQ(Lines("Ib.csv").size(), 3001);
}

TEST_F(HarmonicTrace, AppendsInPlaceWithoutReplacingTheFile) {
    ASSERT_TRUE(dir_.isValid());
    Load("Ia", dir_.path());
    // A second name for the same file sees the new lines only if the file itself grows.
    const QString link = dir_.filePath("link.csv");
    ASSERT_EQ(::link(QFile::encodeName(dir_.filePath("Ia.csv")).constData(),
                     QFile::encodeName(link).constData()),
              0);
    Load("Ia", dir_.path());
    EXPECT_EQ(Lines("link.csv").size(), 6001);
    EXPECT_EQ(Lines("link.csv"), Lines("Ia.csv"));
}

TEST_F(HarmonicTrace, StartsAFreshFileOnceTheOldOnePassesTheLimit) {
    ASSERT_TRUE(dir_.isValid());
    // Each append writes two lines of 18 bytes; the header takes 21.
    const auto append = [&](std::size_t first) {
        const HarmonicTraceColumns trace{{first, first + 1}, {1.0, 2.0}, {-1.0, -2.0}};
        EXPECT_FALSE(AppendHarmonicTrace(dir_.path(), "Ia", trace, 90).has_value());
    };
    append(10);  // 57 bytes
    append(12);  // 93 bytes: past the limit, but only the next load starts afresh
    EXPECT_EQ(Lines("Ia.csv").size(), 5);
    EXPECT_FALSE(QFile::exists(dir_.filePath("Ia.csv.1")));
    append(14);
    QList<QByteArray> aside = Lines("Ia.csv.1");
    ASSERT_EQ(aside.size(), 5);
    EXPECT_TRUE(aside[1].startsWith("10;") && aside[4].startsWith("13;"));
    QList<QByteArray> fresh = Lines("Ia.csv");
    ASSERT_EQ(fresh.size(), 3);
    EXPECT_EQ(fresh[0], aside[0]);
    EXPECT_TRUE(fresh[1].startsWith("14;"));
    append(16);
    append(18);  // the older file aside is replaced
    aside = Lines("Ia.csv.1");
    ASSERT_EQ(aside.size(), 5);
    EXPECT_TRUE(aside[1].startsWith("14;") && aside[4].startsWith("17;"));
    fresh = Lines("Ia.csv");
    ASSERT_EQ(fresh.size(), 3);
    EXPECT_TRUE(fresh[2].startsWith("19;"));
}

TEST_F(HarmonicTrace, OtherChannelsWriteNothing) {
    for (const char* id : {"ia", "IA", "Ic", "Ia ", ""}) {
        Load(id, dir_.path());
    }
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(HarmonicTrace, KeepsTheLinesOfAFileFromElsewhere) {
    QFile old(dir_.filePath("Ia.csv"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("1;2;3\r\n4;5;6");
    old.close();
    Load("Ia", dir_.path());
    const QList<QByteArray> lines = Lines("Ia.csv");
    ASSERT_EQ(lines.size(), 3002);
    EXPECT_EQ(lines[0], "1;2;3");
    EXPECT_EQ(lines[1], "4;5;6");
    ExpectLoadLines(lines, 2);
}

TEST_F(HarmonicTrace, FailureToWriteIsAWarningNamingTheFile) {
    const std::vector<std::string> warnings = Load("Ia", dir_.filePath("no such folder"));
    ASSERT_EQ(warnings.size(), 1U);
    EXPECT_NE(warnings[0].find("Не удалось записать файл"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[0].find("no such folder/Ia.csv"), std::string::npos) << warnings[0];
    // No folder at all: nothing is traced and nothing is said.
    EXPECT_TRUE(Load("Ia", QString()).empty());
}

TEST_F(HarmonicTrace, APipeOrFolderInTheTracesPlaceIsAWarningNeverAWait) {
    const QString trace = dir_.filePath("Ia.csv");
    const struct {
        const char* name;
        std::function<bool()> make;
    } cases[] = {
        {"a pipe without a reader",
         [&] { return ::mkfifo(QFile::encodeName(trace).constData(), 0600) == 0; }},
        {"a folder", [&] { return QDir().mkdir(trace); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.make());
        const std::vector<std::string> warnings = Load("Ia", dir_.path());
        ASSERT_EQ(warnings.size(), 1U);
        EXPECT_NE(warnings[0].find("Не удалось записать файл трассировки"), std::string::npos)
            << warnings[0];
        ASSERT_TRUE(QFile::remove(trace) || QDir().rmdir(trace));
    }
}

TEST_F(HarmonicTrace, ARotationThatCannotBeDoneIsSaidAndTheLinesStillAppended) {
    ASSERT_TRUE(QDir().mkdir(dir_.filePath("Ia.csv.1")));
    const HarmonicTraceColumns trace{{1, 2}, {1.0, 2.0}, {-1.0, -2.0}};
    EXPECT_FALSE(AppendHarmonicTrace(dir_.path(), "Ia", trace, 30).has_value());
    const std::optional<std::string> warning = AppendHarmonicTrace(dir_.path(), "Ia", trace, 30);
    ASSERT_TRUE(warning.has_value());
    EXPECT_NE(warning->find("Не удалось сменить файл трассировки гармоник"), std::string::npos)
        << *warning;
    EXPECT_EQ(Lines("Ia.csv").size(), 5);
    EXPECT_TRUE(QFileInfo(dir_.filePath("Ia.csv.1")).isDir());
}

TEST_F(HarmonicTrace, LoadsAtTheSameTimeRotateOnceAndLoseNoHistory) {
    const QString trace = dir_.filePath("Ia.csv");
    const QString aside = dir_.filePath("Ia.csv.1");
    const QByteArray history = QByteArray("1;2;3\r\n").repeated(20);
    for (int round = 0; round < 50; ++round) {
        SCOPED_TRACE(round);
        QFile::remove(aside);
        QFile file(trace);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(history), history.size());
        file.close();
        // Each load writes the header and two lines (57 bytes), so only the first one rotates.
        std::optional<std::string> warnings[2];
        std::vector<std::thread> loads;
        for (std::size_t k = 0; k < 2; ++k) {
            loads.emplace_back([&, k] {
                const HarmonicTraceColumns lines{{10 * k, 10 * k + 1}, {1.0, 2.0}, {-1.0, -2.0}};
                warnings[k] = AppendHarmonicTrace(dir_.path(), "Ia", lines, 90);
            });
        }
        for (std::thread& load : loads) {
            load.join();
        }
        ASSERT_FALSE(warnings[0].has_value()) << *warnings[0];
        ASSERT_FALSE(warnings[1].has_value()) << *warnings[1];
        QFile moved(aside);
        ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
        ASSERT_EQ(moved.readAll(), history);
        const QList<QByteArray> fresh = Lines("Ia.csv");
        ASSERT_EQ(fresh.size(), 5);
        EXPECT_EQ(fresh.count(fresh[0]), 1);
        EXPECT_FALSE(fresh[0].startsWith("1") || fresh[0].startsWith("0"));
    }
    EXPECT_FALSE(QFile::exists(trace + ".lock"));
}

}  // namespace
}  // namespace faultscope
