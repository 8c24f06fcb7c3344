// Reading a sample file in pieces on several threads gives what reading it line by line on one
// thread gives: the same columns bit for bit, the same first error, the same memory refusal.
#include <gtest/gtest.h>
#include <QBuffer>
#include <QFile>
#include <algorithm>
#include <bit>
#include <string>
#include <thread>
#include <vector>

#include "core/record/load_error.h"
#include "core/record/sample_reader.h"

namespace faultscope {
namespace {

RecordConfig TwoByThree(std::uint32_t endsamp) {
    RecordConfig cfg;
    cfg.a = 2;
    cfg.D = 3;
    cfg.TT = 5;
    cfg.analog = {{.An = 1, .ch_id = "Ia", .a = 2, .b = 1, .min = -100, .max = 100},
                  {.An = 2, .ch_id = "Ub", .a = 0.1, .b = 0, .min = -5000, .max = 5000}};
    cfg.digital = {
        {.Dn = 1, .ch_id = "Trip"}, {.Dn = 2, .ch_id = " [Spare]"}, {.Dn = 3, .ch_id = "Close"}};
    cfg.nrates = 1;
    cfg.samp = 1000;
    cfg.endsamp = endsamp;
    cfg.dt_First = {2019, 2, 1, 10, 0, 0, 0};
    cfg.dt_Trigger = {2019, 2, 1, 10, 0, 0, 3};
    return cfg;
}

std::vector<std::uint64_t> Bits(const std::vector<double>& values) {
    std::vector<std::uint64_t> bits;
    for (const double v : values) {
        bits.push_back(std::bit_cast<std::uint64_t>(v));
    }
    return bits;
}

// Everything a read leaves behind, for comparing two reads.
struct Outcome {
    std::string error;
    std::vector<std::int32_t> timeUs;
    std::vector<std::uint64_t> xMs;
    std::vector<std::vector<std::uint64_t>> values;
    std::vector<std::vector<bool>> gaps;
    std::vector<int> kinds;
    std::vector<std::vector<std::uint64_t>> discreteX;
    std::vector<std::vector<std::uint64_t>> discreteLevel;
    double axisMax = 0;

    bool operator==(const Outcome&) const = default;
};

Outcome Read(const RecordConfig& cfg, QByteArray dat, const SampleSplit& split,
             std::uint64_t budget = std::uint64_t{1} << 40) {
    QBuffer buffer(&dat);
    buffer.open(QIODevice::ReadOnly);
    TimeBase tb;
    tb.CreateTimeLine(cfg.nrates, cfg.samp, cfg.timemult, cfg.dt_First, cfg.dt_Trigger);
    RecordData data;
    InitRecordData(cfg, data);
    ProgressPump pump;
    Outcome out;
    try {
        ReadSamples(buffer, cfg, tb, data, pump, budget, split);
    } catch (const LoadError& e) {
        out.error = e.what();
    }
    out.timeUs = data.timeUs;
    out.xMs = Bits(data.xMs);
    for (const AnalogColumns& ch : data.analog) {
        out.values.push_back(Bits(ch.Values()));
        out.gaps.emplace_back();
        for (std::size_t i = 0; i < ch.size(); ++i) {
            out.gaps.back().push_back(ch.Gap(i));
        }
        out.kinds.push_back(static_cast<int>(ch.Samples().kind()));
    }
    for (const DiscreteColumns& ch : data.discrete) {
        out.discreteX.push_back(Bits(ch.x));
        out.discreteLevel.push_back(Bits(ch.state));
    }
    out.axisMax = tb.AxisMax();
    return out;
}

// Line i (from 1) of a well-formed file: values that change, states that toggle at every line.
QByteArray Line(int i, const char* lineBreak = "\n") {
    return QByteArray::number(i) + ",0," + QByteArray::number(i % 7 - 3) + "," +
           QByteArray::number(i * 11 % 900 - 450) + "," + QByteArray::number(i % 2) + ",5," +
           QByteArray::number(i / 3 % 2) + lineBreak;
}

QByteArray Lines(int from, int to, const char* lineBreak = "\n") {
    QByteArray dat;
    for (int i = from; i <= to; ++i) {
        dat += Line(i, lineBreak);
    }
    return dat;
}

const SampleSplit kSerial{.threads = 1};
// Pieces of a few bytes put seams at every place a line can be cut: at breaks, between the two
// halves of "\r\n", at the first and last line of a run.
const SampleSplit kSmallSplits[] = {
    {.threads = 2, .chunkBytes = 1},  {.threads = 3, .chunkBytes = 5},
    {.threads = 2, .chunkBytes = 13}, {.threads = 4, .chunkBytes = 29},
    {.threads = 3, .chunkBytes = 64}, {.threads = 2, .chunkBytes = 300},
};

TEST(SampleSplit, PiecesReadAsOneThreadReadsLineByLine) {
    const QByteArray longLine(3 << 20, '7');
    const struct {
        const char* name;
        std::uint32_t endsamp;
        QByteArray dat;
    } files[] = {
        {"line feeds", 40, Lines(1, 40)},
        {"carriage returns", 40, Lines(1, 40, "\r")},
        {"both", 40, Lines(1, 20, "\r\n") + Lines(21, 40, "\r") + "\n"},
        {"last line without a break", 40, Lines(1, 39, "\r\n") + Line(40, "")},
        {"lines beyond the last sample", 10, Lines(1, 10) + "junk\n" + Lines(12, 20)},
        {"wider numbers after the last sample", 5,
         Lines(1, 5) + "6,0,40000,2.5,0,0,0\n" + Lines(7, 12)},
        {"one line", 1, Line(1, "")},
        {"empty file", 3, ""},
        {"file too short", 30, Lines(1, 20)},
        {"empty line", 30, Lines(1, 12) + "\r\n" + Lines(14, 30)},
        {"break pair split by a blank line", 30, Lines(1, 12, "\r") + "\r\n\n" + Lines(14, 30)},
        // 999999 is outside the channels' range: gaps; 40000 and 2.5 widen the storage late.
        {"gaps and wider numbers", 40,
         Lines(1, 20) + "21,0,999999,-999999,1,0,1\n22,0,40000,2.5,0,0,0\n" + Lines(23, 40)},
        {"negative zero and blanks", 20,
         Lines(1, 9) + "10, 0 , -0 ,+3 ,1,1e0, 1.0\n" + Lines(11, 20)},
        {"bad field, then a bad count", 40,
         Lines(1, 9) + "10,0,x,1,0,0,0\n" + Lines(11, 29) + "30,0,1,1,0\n" + Lines(31, 40)},
        {"bad count, then a bad field", 40,
         Lines(1, 29) + "30,0,1,1,0\n" + Lines(31, 34) + "35,0,x,1,0,0,0\n" + Lines(36, 40)},
        {"bad state on the first line", 20, "1,0,1,1,2,0,0\n" + Lines(2, 20)},
        {"bad state on a spare channel", 20, Lines(1, 9) + "10,0,1,1,1,9,0\n" + Lines(11, 20)},
        {"bad state late", 40, Lines(1, 33) + "34,0,1,1,1,0,0.5\n" + Lines(35, 40)},
        {"time out of range late", 40, Lines(1, 25) + "99999999999,0,1,1,1,0,0\n"},
        {"line too long", 20, Lines(1, 5) + longLine + "\n" + Lines(7, 20)},
        {"bad field before a line too long", 20,
         Lines(1, 2) + "3,0,x,1,0,0,0\n" + Lines(4, 5) + longLine + "\n"},
        {"line too long after the last sample", 5, Lines(1, 5) + longLine},
    };
    for (const auto& f : files) {
        const RecordConfig cfg = TwoByThree(f.endsamp);
        const Outcome serial = Read(cfg, f.dat, kSerial);
        for (const SampleSplit& split : kSmallSplits) {
            EXPECT_TRUE(Read(cfg, f.dat, split) == serial)
                << f.name << " in pieces of " << split.chunkBytes << " on " << split.threads;
        }
    }
}

// The outcomes above are only worth comparing if they are what a reader must give.
TEST(SampleSplit, TheComparedOutcomesAreTheExpectedOnes) {
    const Outcome fine = Read(TwoByThree(40), Lines(1, 20, "\r\n") + Lines(21, 40, "\r"), kSerial);
    EXPECT_EQ(fine.error, "");
    EXPECT_EQ(fine.timeUs.size(), 40U);
    EXPECT_EQ(fine.discreteX[0].size(), 2U * 40);  // a change at every line
    EXPECT_TRUE(fine.discreteX[1].empty());
    EXPECT_EQ(fine.axisMax,
              36.0);  // the last sample, 39 ms after the first, 3 ms before the trigger
    EXPECT_EQ(
        Read(TwoByThree(40), Lines(1, 9) + "10,0,x,1,0,0,0\n" + Lines(11, 29) + "30,0,1,1,0\n",
             kSmallSplits[1])
            .error,
        "Ошибка разбора строки данных: 10");
    const Outcome wide =
        Read(TwoByThree(22), Lines(1, 20) + "21,0,999999,-999999,1,0,1\n22,0,40000,2.5,0,0,0\n",
             kSmallSplits[2]);
    EXPECT_EQ(wide.gaps[0][20], true);
    EXPECT_EQ(wide.gaps[0][21], true);
    EXPECT_EQ(wide.kinds[0], static_cast<int>(SampleColumn::Kind::Raw32));
    EXPECT_EQ(wide.kinds[1], static_cast<int>(SampleColumn::Kind::RawDouble));
    EXPECT_EQ(
        Read(TwoByThree(20), Lines(1, 5) + QByteArray(3 << 20, '7') + "\n", kSmallSplits[0]).error,
        "Строка файла данных слишком длинная");
}

TEST(SampleSplit, MemoryRefusalComesAtTheSameLineWithTheSameFigures) {
    const RecordConfig cfg = TwoByThree(40'000);
    const QByteArray dat = Lines(1, 40'000);
    const Outcome serial = Read(cfg, dat, kSerial, 1 << 20);
    ASSERT_NE(serial.error.find("Недостаточно памяти"), std::string::npos);
    EXPECT_EQ(serial.timeUs.size(), 16'383U);
    for (const SampleSplit split : {SampleSplit{.threads = 2, .chunkBytes = 4096},
                                    SampleSplit{.threads = 3, .chunkBytes = 1000}}) {
        EXPECT_TRUE(Read(cfg, dat, split, 1 << 20) == serial) << split.chunkBytes;
    }
}

int ThreadsOfThisProcess() {
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("Threads:")) {
            return line.mid(8).trimmed().toInt();
        }
    }
    return -1;
}

// Progress is told on the calling thread, growing, while helpers read; a cancel from it stops the
// read and leaves no helper behind.
TEST(SampleSplit, ProgressComesOnTheCallingThreadAndACancelLeavesNoThread) {
    const RecordConfig cfg = TwoByThree(3000);
    QByteArray dat = Lines(1, 3000);
    QBuffer buffer(&dat);
    buffer.open(QIODevice::ReadOnly);
    TimeBase tb;
    tb.CreateTimeLine(cfg.nrates, cfg.samp, cfg.timemult, cfg.dt_First, cfg.dt_Trigger);
    RecordData data;
    InitRecordData(cfg, data);
    const int threadsBefore = ThreadsOfThisProcess();
    std::vector<std::int64_t> told;
    bool elsewhere = false;
    const auto caller = std::this_thread::get_id();
    ProgressPump pump(
        [&](std::int64_t done) {
            elsewhere = elsewhere || std::this_thread::get_id() != caller;
            told.push_back(done);
            if (told.size() == 5) {
                throw LoadCancelled();
            }
        },
        0);
    EXPECT_THROW(ReadSamples(buffer, cfg, tb, data, pump, std::uint64_t{1} << 40,
                             {.threads = 3, .chunkBytes = 200}),
                 LoadCancelled);
    EXPECT_FALSE(elsewhere);
    ASSERT_EQ(told.size(), 5U);
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_GT(told.front(), 0);
    EXPECT_LT(data.SampleCount(), 3000U);
    EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore);
}

}  // namespace
}  // namespace faultscope
