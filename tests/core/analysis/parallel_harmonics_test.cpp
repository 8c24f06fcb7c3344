#include "core/analysis/parallel_harmonics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/analysis/harmonic_signals.h"
#include "core/record/load_error.h"

namespace faultscope {
namespace {

using test::SampleTimes;
using test::Waveform;

// Several channels of one record with different content, some with gaps in their raw range.
class ParallelHarmonics : public ::testing::Test {
  protected:
    ParallelHarmonics() : x_(SampleTimes(40000, 4000.0, -100.0)) {
        for (unsigned c = 0; c < 6; ++c) {
            // Raw numbers of a file, so that some samples fall outside the channel's range.
            const std::vector<double> y =
                Waveform(x_, 50.0, c * 3.0, {{1, 10000.0 + c, 10.0 * c}, {5, 700.0, 0.0}},
                         c % 2 == 0 ? 50.0 : 0.0, c + 1);
            AnalogColumns& ch = channels_.emplace_back();
            ch.SetRawScale({0.01, 0.5, -9000.0, 9000.0});
            for (const double v : y) {
                ch.AppendRaw(std::nearbyint(v));
            }
            ids_.push_back("U");
            ids_.back() += std::to_string(c);
        }
    }

    template <typename T>
    static bool SameBits(const std::vector<T>& a, const std::vector<T>& b) {
        return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0;
    }

    std::vector<double> x_;
    std::vector<AnalogColumns> channels_;
    std::vector<std::string> ids_;
};

TEST_F(ParallelHarmonics, GivesTheSerialResultsBitForBit) {
    std::vector<AnalogColumns> serial = channels_;
    const std::vector<std::size_t> all = {0, 1, 2, 3, 4, 5};
    FillChannelsHarmonics(x_, serial, 50.0, ids_, all, {1, {}, {}});
    FillChannelsHarmonics(x_, serial, 50.0, ids_, all, {1, {}, {}, HarmonicPart::Fundamental});
    std::size_t polls = 0;
    for (const unsigned threads : {2U, 4U, 7U}) {
        std::vector<AnalogColumns> parallel = channels_;
        for (const HarmonicPart part : {HarmonicPart::Drawing, HarmonicPart::Fundamental}) {
            FillChannelsHarmonics(x_, parallel, 50.0, ids_, all,
                                  {threads, [&](std::size_t) { ++polls; }, {}, part});
        }
        for (std::size_t c = 0; c < all.size(); ++c) {
            EXPECT_TRUE(SameBits(serial[c].fundamental.rms, parallel[c].fundamental.rms)) << c;
            EXPECT_TRUE(SameBits(serial[c].fundamental.angle, parallel[c].fundamental.angle)) << c;
            const HarmonicColumns& s = serial[c].harmonics;
            const HarmonicColumns& p = parallel[c].harmonics;
            ASSERT_EQ(s.size(), x_.size());
            for (std::size_t k = 0; k < kHarmonicOrders.size(); ++k) {
                EXPECT_TRUE(SameBits(s.Rms(k), p.Rms(k))) << threads << " threads, channel " << c;
            }
            EXPECT_TRUE(SameBits(s.angle, p.angle)) << threads << " threads, channel " << c;
        }
    }
    EXPECT_GT(polls, 0U);
}

TEST_F(ParallelHarmonics, FillsOnlyTheListedChannels) {
    FillChannelsHarmonics(x_, channels_, 50.0, ids_, std::vector<std::size_t>{4, 1}, {3, {}, {}});
    for (std::size_t c = 0; c < channels_.size(); ++c) {
        EXPECT_EQ(channels_[c].harmonics.size(), c == 4 || c == 1 ? x_.size() : 0U) << c;
    }
}

TEST_F(ParallelHarmonics, ReportsTheErrorOfTheFirstListedChannelAndKeepsNothing) {
    // Times that go back make every channel fail, each naming itself.
    x_[30000] = x_[29999];
    try {
        FillChannelsHarmonics(x_, channels_, 50.0, ids_, std::vector<std::size_t>{3, 0, 5},
                              {4, [](std::size_t) {}, {}});
        ADD_FAILURE() << "no error";
    } catch (const LoadError& e) {
        EXPECT_NE(std::string(e.what()).find("«U3»"), std::string::npos) << e.what();
    }
    for (const AnalogColumns& ch : channels_) {
        EXPECT_EQ(ch.harmonics.size(), 0U);
    }
}

TEST_F(ParallelHarmonics, AnExceptionFromThePollStopsAndJoinsTheWorkers) {
    for (AnalogColumns& ch : channels_) {
        ch = AnalogColumns::FromValues(std::vector<double>(400000, 1.0));
    }
    x_ = SampleTimes(400000, 4000.0);
    EXPECT_THROW(
        FillChannelsHarmonics(x_, channels_, 50.0, ids_, std::vector<std::size_t>{0, 1, 2, 3, 4, 5},
                              {2, [](std::size_t) { throw LoadCancelled(); }, {}}),
        LoadCancelled);
    for (const AnalogColumns& ch : channels_) {
        EXPECT_EQ(ch.harmonics.size(), 0U);
    }
}

}  // namespace
}  // namespace faultscope
