#include "core/record/sample_reader.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <bit>
#include <charconv>

#include "core/record/load_error.h"
#include "support/record_columns.h"

namespace faultscope {
namespace {

RecordConfig TwoByTwo(std::uint32_t endsamp, double samp = 1000) {
    RecordConfig cfg;
    cfg.a = 2;
    cfg.D = 2;
    cfg.TT = 4;
    cfg.analog = {{.An = 1, .ch_id = "Ia", .a = 2, .b = 1, .min = -100, .max = 100},
                  {.An = 2, .ch_id = "Ub", .a = 1, .b = 0, .min = -5, .max = 5}};
    cfg.digital = {{.Dn = 1, .ch_id = "Trip"}, {.Dn = 2, .ch_id = " [Spare]"}};
    cfg.nrates = 1;
    cfg.samp = samp;
    cfg.endsamp = endsamp;
    cfg.dt_First = {2019, 2, 1, 10, 0, 0, 0};
    cfg.dt_Trigger = {2019, 2, 1, 10, 0, 0, 1};
    return cfg;
}

class SampleReaderTest : public ::testing::Test {
  protected:
    RecordData Read(const RecordConfig& cfg, const QByteArray& dat) {
        const QString path = QDir(dir_.path()).filePath("r.dat");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(dat);
        f.close();
        TimeBase tb;
        tb.CreateTimeLine(cfg.nrates, cfg.samp, cfg.timemult, cfg.dt_First, cfg.dt_Trigger);
        RecordData data;
        InitRecordData(cfg, data);
        ProgressPump pump;
        ReadSamples(path, cfg, tb, data, pump);
        return data;
    }

    std::string ErrorOf(const RecordConfig& cfg, const QByteArray& dat) {
        try {
            Read(cfg, dat);
        } catch (const LoadError& e) {
            return e.what();
        }
        return "no error";
    }

    QTemporaryDir dir_;
};

TEST_F(SampleReaderTest, ReadsColumnsWithScalingGapsAndStates) {
    const RecordData d =
        Read(TwoByTwo(3), "1,0,10,1,0,7\r\n  2 , 5 , +200 ,-2.5e0, 1 ,0\r3,9,-3,6,1,1\nignored\n");
    EXPECT_EQ(d.timeUs, (std::vector<std::int32_t>{-1000, 0, 1000}));
    EXPECT_EQ(d.xMs, (std::vector<double>{-1, 0, 1}));
    EXPECT_EQ(d.analog[0].Values(), (std::vector<double>{21, 200, -5}));
    EXPECT_EQ(test::Gaps(d.analog[0]), (std::vector<std::uint8_t>{0, 1, 0}));
    EXPECT_EQ(d.analog[1].Values(), (std::vector<double>{1, -2.5, 6}));
    EXPECT_EQ(test::Gaps(d.analog[1]), (std::vector<std::uint8_t>{0, 0, 1}));
    EXPECT_EQ(d.discrete[0].x, (std::vector<double>{0, 0}));
    EXPECT_EQ(d.discrete[0].state, (std::vector<double>{0, 1}));
    EXPECT_FALSE(d.discrete[1].hasStrip);
    EXPECT_TRUE(d.discrete[1].x.empty());
}

// Value fields convert as integers where they are integers and as decimals otherwise; either way
// the value is bit for bit the one the decimal conversion of the field gives.
TEST_F(SampleReaderTest, ValueFieldsGiveTheDecimalConversionsValue) {
    RecordConfig cfg = TwoByTwo(1);
    cfg.analog[0] = {.An = 1, .ch_id = "U", .a = 1, .b = 0, .min = -2000000000, .max = 2000000000};
    for (const char* field : {"5", " -17 ", "+7", "-0", "0", "1e3", "2.5", "-3.25e-2",
                              "9007199254740993", "123456789012345678901234", "1999999999"}) {
        const RecordData d = Read(cfg, QByteArray("1,0,") + field + ",0,1,0\n");
        std::string text = field;
        text.erase(0, text.find_first_not_of(" +"));
        double raw = 0;
        std::from_chars(text.data(), text.data() + text.size(), raw);
        const bool inside = -2000000000.0 <= raw && raw <= 2000000000.0;
        const double expected = inside ? 1.0 * raw + 0.0 : raw;
        ASSERT_EQ(d.analog[0].size(), 1U) << field;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(d.analog[0].Value(0)),
                  std::bit_cast<std::uint64_t>(expected))
            << field;
    }
}

TEST(SampleReaderMemory, RecordsThatWillNotFitAreRefusedAfterTheirFirstLines) {
    const RecordConfig cfg = TwoByTwo(200'000);
    QByteArray dat;
    for (int i = 1; i <= 200'000; ++i) {
        dat += QByteArray::number(i) + ",0,1,-1,0,1\n";
    }
    // Time and 2 analog channels: 12 + 2 × 9 bytes a sample; each channel the load analyses
    // adds its five float result columns.
    ASSERT_EQ(BytesPerSample(cfg), 30U);
    ASSERT_EQ(BytesPerSample(cfg, 2), 70U);
    const auto read = [&](const RecordConfig& c, std::uint64_t budget, std::size_t analysed = 0) {
        QBuffer buffer(&dat);
        buffer.open(QIODevice::ReadOnly);
        TimeBase tb;
        tb.CreateTimeLine(c.nrates, c.samp, c.timemult, c.dt_First, c.dt_Trigger);
        RecordData data;
        InitRecordData(c, data);
        ProgressPump pump;
        try {
            ReadSamples(buffer, c, tb, data, pump, budget, {}, analysed);
        } catch (const LoadError& e) {
            return std::string(e.what()) + " after " + std::to_string(data.SampleCount());
        }
        return "read " + std::to_string(data.SampleCount());
    };
    EXPECT_EQ(read(cfg, 5 << 20),
              "Недостаточно памяти: осциллограмме нужно около 6 МБ, доступно 5 МБ after 16383");
    EXPECT_EQ(read(cfg, 10 << 20), "read 200000");
    EXPECT_EQ(read(cfg, 10 << 20, 2),
              "Недостаточно памяти: осциллограмме нужно около 14 МБ, доступно 10 МБ after 16383");
    // A declared count far beyond what the file holds is no reason to refuse: the file runs out.
    RecordConfig huge = cfg;
    huge.endsamp = 4'000'000'000U;
    EXPECT_EQ(
        read(huge, 10 << 20),
        "Длина строки данных не соответствует кол-ву каналов. Номер строки: 200001 after 200000");
    EXPECT_GT(AvailableMemory(), 0U);
}

TEST_F(SampleReaderTest, NoSamplesReadsNothing) {
    const RecordData d = Read(TwoByTwo(0), "garbage\n");
    EXPECT_EQ(d.SampleCount(), 0u);
}

TEST_F(SampleReaderTest, LineMessagesNameTheSampleNumber) {
    const struct {
        QByteArray dat;
        std::string error;
    } cases[] = {
        {"1,0,1,1,0,0\n2,0,1,1,0,0,\n",
         "Длина строки данных не соответствует кол-ву каналов. Номер строки: 2"},
        // A line with nothing to name is named by its place in the file.
        {"1,0,1,1,0,0\n", "Длина строки данных не соответствует кол-ву каналов. Номер строки: 2"},
        {"1,0,1,1,0,0\n\n3,0,1,1,0,0\n",
         "Длина строки данных не соответствует кол-ву каналов. Номер строки: 2"},
        {"1,0,1,1,0,0\n\r2,0,1,1,0,0\n\r",
         "Длина строки данных не соответствует кол-ву каналов. Номер строки: 2"},
        {"1,0,1,1,0,0\n,0,x,1,0,0\n", "Ошибка разбора строки данных: 2"},
        {"1,0,1,1,0,0\n2,0,x,1,0,0\n", "Ошибка разбора строки данных: 2"},
        {"1,0,1,1,0,0\n2,,1,1,0,0\n", "Ошибка разбора строки данных: 2"},
        {"1,0,1,1,0,0\n2,0,1,1,0.5,0\n", "Ошибка разбора строки данных: 2"},
        {"1,0,1,1,0,0\n2,0,1,1,2,0\n", "Ошибка разбора строки данных: 2"},
        {"1,0,1,1,0,0\n99999999999,0,1,1,1,0\n", "Ошибка разбора строки данных: 99999999999"},
        // Raw values far outside any recorder's range would overflow the harmonic sums.
        {"1,0,1,1,0,0\n2,0,1e151,1,0,0\n", "Ошибка разбора строки данных: 2"},
        {"1,0,1,1,0,0\n2,0,1,-1e300,0,0\n", "Ошибка разбора строки данных: 2"},
        {"1,0,1,1,0,0\n2,0,inf,1,0,0\n", "Ошибка разбора строки данных: 2"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf(TwoByTwo(3), c.dat), c.error) << c.dat.toStdString();
    }
    EXPECT_EQ(ErrorOf(TwoByTwo(2, 0), "1,0,1,1,0,0\n5,-1,1,1,0,0\n"),
              "Ошибка разбора строки данных: 5");
}

TEST_F(SampleReaderTest, SpareDiscreteValuesAreParsedButNotChecked) {
    EXPECT_EQ(Read(TwoByTwo(1), "1,0,1,1,0,7\n").SampleCount(), 1u);
    EXPECT_EQ(ErrorOf(TwoByTwo(1), "1,0,1,1,0,x\n"), "Ошибка разбора строки данных: 1");
}

TEST_F(SampleReaderTest, LinesAcrossBlockBoundaries) {
    constexpr std::uint32_t kLines = 150'000;  // several read blocks
    QByteArray dat;
    for (std::uint32_t i = 1; i <= kLines; ++i) {
        dat += QByteArray::number(i) + ",0," + QByteArray::number(i % 50) + ",1," +
               QByteArray::number((i / 1000) % 2) + ",0" + (i % 3 == 0 ? "\r\n" : "\n");
    }
    const RecordData d = Read(TwoByTwo(kLines), dat);
    ASSERT_EQ(d.SampleCount(), kLines);
    for (std::uint32_t i = 1; i <= kLines; i += 997) {
        EXPECT_EQ(d.analog[0].Value(i - 1), 2.0 * (i % 50) + 1) << i;
    }
    EXPECT_EQ(d.discrete[0].x.size(), 2u * 150);
}

}  // namespace
}  // namespace faultscope
