#include "gui/chart/envelope_pyramid.h"

#include <gtest/gtest.h>
#include <cmath>
#include <random>
#include <vector>

namespace faultscope {
namespace {

ValueExtent BruteForce(const std::vector<double>& values, const std::vector<std::uint8_t>& gaps,
                       std::size_t first, std::size_t last) {
    ValueExtent extent;
    for (std::size_t i = first; i < last; ++i) {
        if ((gaps.empty() || gaps[i] == 0) && std::isfinite(values[i])) {
            extent.Add(values[i]);
        }
    }
    return extent;
}

// Sizes around the block boundaries of the first levels, and a larger one; with gaps and values
// that are not finite, and with a column where every sample is drawn.
TEST(EnvelopePyramid, AnyRangeMatchesAFullScan) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-1000.0, 1000.0);
    for (const bool holes : {true, false}) {
        for (const std::size_t size : {0, 1, 7, 8, 9, 63, 64, 65, 513, 4097, 40000}) {
            std::vector<double> values(size);
            std::vector<std::uint8_t> gaps(size);
            for (std::size_t i = 0; i < size; ++i) {
                values[i] = value(random);
                gaps[i] = holes && random() % 10 == 0 ? 1 : 0;
            }
            if (holes && size > 3) {
                values[size / 2] = NAN;
                values[size / 3] = INFINITY;
            }
            const EnvelopePyramid pyramid(values, gaps);
            std::uniform_int_distribution<std::size_t> index(0, size);
            for (int trial = 0; trial < 300; ++trial) {
                std::size_t first = index(random);
                std::size_t last = index(random);
                if (first > last) {
                    std::swap(first, last);
                }
                const ValueExtent expected = BruteForce(values, gaps, first, last);
                const ValueExtent got = pyramid.Query(first, last);
                ASSERT_EQ(got.IsEmpty(), expected.IsEmpty())
                    << size << ": " << first << ".." << last;
                if (!expected.IsEmpty()) {
                    ASSERT_EQ(got.min, expected.min) << size << ": " << first << ".." << last;
                    ASSERT_EQ(got.max, expected.max) << size << ": " << first << ".." << last;
                }
            }
            EXPECT_TRUE(pyramid.Query(0, size + 10).IsEmpty() ==
                        BruteForce(values, gaps, 0, size).IsEmpty());
        }
    }
}

TEST(EnvelopePyramid, GapsAndMissingGapColumnAreHandled) {
    const std::vector<double> values = {5, -3, 8, 2, 9, -7, 1, 4, 6, 0, 3};
    const std::vector<std::uint8_t> allGaps(values.size(), 1);
    EXPECT_TRUE(EnvelopePyramid(values, allGaps).Query(0, values.size()).IsEmpty());

    const EnvelopePyramid noGaps(values, {});
    const ValueExtent all = noGaps.Query(0, values.size());
    EXPECT_EQ(all.min, -7);
    EXPECT_EQ(all.max, 9);
    EXPECT_TRUE(noGaps.Query(4, 4).IsEmpty());
    EXPECT_TRUE(noGaps.Query(6, 2).IsEmpty());
}

}  // namespace
}  // namespace faultscope
