#include "core/analysis/impedance_trajectory.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace faultscope {
namespace {

// A record sampled at 1 kHz on a 50 Hz line: 20 samples per cycle.
struct Series {
    std::vector<double> xMs;
    std::vector<std::optional<Phasor>> z;

    explicit Series(std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            xMs.push_back(static_cast<double>(i));
            z.emplace_back(Phasor(static_cast<double>(i), 1.0));
        }
    }
};

TEST(ImpedanceTrajectory, DrawsEverySampleOfAShortRangeAndADotPerCycleBreakingOverGaps) {
    Series s(200);
    for (std::size_t i = 45; i < 50; ++i) {
        s.z[i].reset();
    }
    const ImpedanceTrajectory t = TrajectoryOf(s.z, s.xMs, 50.0, 30, 109);
    ASSERT_EQ(t.path.size(), 80u - 5u);
    EXPECT_EQ(t.path.front().sample, 30u);
    EXPECT_FALSE(t.path.front().joined);
    EXPECT_EQ(t.path.back().sample, 109u);
    const auto after = std::ranges::find(t.path, 50u, &TrajectoryPoint::sample);
    ASSERT_NE(after, t.path.end());
    EXPECT_FALSE(after->joined);
    EXPECT_TRUE((after - 1)->joined);
    EXPECT_EQ((after - 1)->sample, 44u);
    // The range begins inside the cycle of samples 20 to 39, whose dot then stands on sample 30.
    std::vector<std::size_t> dots;
    for (const TrajectoryPoint& p : t.dots) {
        dots.push_back(p.sample);
    }
    EXPECT_EQ(dots, (std::vector<std::size_t>{30, 40, 60, 80, 100}));
    EXPECT_EQ(t.dots[2].z, Phasor(60.0, 1.0));
}

TEST(ImpedanceTrajectory, ALongRangeIsThinnedToBoundedPointsWhateverItsLength) {
    for (const std::size_t n : {10'000u, 1'000'000u}) {
        Series s(n);
        const ImpedanceTrajectory t = TrajectoryOf(s.z, s.xMs, 50.0, 0, n - 1);
        EXPECT_LE(t.path.size(), ImpedanceTrajectory::kMaxPathPoints + 1) << n;
        EXPECT_GE(t.path.size(), ImpedanceTrajectory::kMaxPathPoints / 2) << n;
        EXPECT_EQ(t.path.back().sample, n - 1);
        EXPECT_LE(t.dots.size(), ImpedanceTrajectory::kMaxCycleDots) << n;
        EXPECT_TRUE(std::ranges::all_of(t.path, [](const TrajectoryPoint& p) {
            return p.z == Phasor(static_cast<double>(p.sample), 1.0);
        }));
    }
    EXPECT_TRUE(TrajectoryOf({}, {}, 50.0, 0, 0).path.empty());
}

}  // namespace
}  // namespace faultscope
