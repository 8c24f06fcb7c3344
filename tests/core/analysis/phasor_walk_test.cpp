#include "core/analysis/phasor_walk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "core/analysis/harmonic_signals.h"
#include "core/record/load_error.h"

namespace faultscope {
namespace {

using test::SampleTimes;
using test::Waveform;

// Three channels at 12.8 kHz, whose whole-microsecond times make the window length jitter; the
// second one has a "no data" sample.
struct Channels {
    std::vector<double> x = SampleTimes(3000, 12800.0, -40.0);
    std::vector<AnalogColumns> columns;
    static constexpr std::size_t kGap = 1700;

    Channels() {
        for (int c = 0; c < 3; ++c) {
            std::vector<double> y =
                Waveform(x, 50.0, 5.0, {{1, 100.0 + 40.0 * c, 120.0 * c}, {3, 9.0, 10.0}}, 0.5,
                         static_cast<unsigned>(c + 1));
            std::vector<std::uint8_t> gaps(y.size());
            if (c == 1) {
                gaps[kGap] = 1;
            }
            columns.push_back(AnalogColumns::FromValues(y, gaps));
        }
    }
    [[nodiscard]] std::vector<const AnalogColumns*> Pointers() const {
        return {&columns[0], &columns[1], &columns[2]};
    }
};

TEST(PhasorWalk, GivesTheDirectPhasorsOfEverySampleFromAnyFirstOne) {
    const Channels c;
    for (const std::size_t first : {std::size_t{0}, std::size_t{900}}) {
        PhasorWalk walk(c.x, c.Pointers(), 50.0);
        std::size_t undefined = 0;
        for (std::size_t i = first; i < c.x.size(); ++i) {
            const auto phasors = walk.At(i);
            for (std::size_t k = 0; k < 3; ++k) {
                const auto direct = FundamentalPhasorAt(c.x, c.columns[k], 50.0, i);
                ASSERT_EQ(phasors[k].has_value(), direct.has_value()) << i << ' ' << k;
                if (direct) {
                    ASSERT_LT(std::abs(*phasors[k] - *direct), 1e-9 * 200.0) << i << ' ' << k;
                } else {
                    EXPECT_EQ(k, 1u);
                    ++undefined;
                }
            }
        }
        EXPECT_GT(undefined, 250u) << first;  // about a period's worth of windows
    }
}

TEST(PhasorWalk, RefusesWhatTheHarmonicAnalysisRefuses) {
    const Channels c;
    EXPECT_THROW(PhasorWalk(c.x, c.Pointers(), 0.0), LoadError);
    std::vector<double> back = c.x;
    back[10] = back[9];
    EXPECT_THROW(PhasorWalk(back, c.Pointers(), 50.0), LoadError);
}

TEST(FundamentalPhasor, HasTheReadoutsRmsAndAngle) {
    const std::vector<double> x = SampleTimes(400, 2000.0);
    const AnalogColumns channel =
        AnalogColumns::FromValues(Waveform(x, 50.0, 0.0, {{1, 100.0, 30.0}}));
    for (const std::size_t i : {40, 45, 133}) {
        const Phasor p = FundamentalPhasorAt(x, channel, 50.0, i).value();
        double angle = 0.0;
        const HarmonicValues rms = CalcCurrentValues(x, channel.Values(), 50.0, i, angle);
        EXPECT_NEAR(std::abs(p), rms.Current1, 1e-9);
        EXPECT_NEAR(PhasorAngle(p), angle, 1e-9);
    }
    EXPECT_EQ(PhasorAngle(Phasor()), kUndefinedAngle);
}

}  // namespace
}  // namespace faultscope
