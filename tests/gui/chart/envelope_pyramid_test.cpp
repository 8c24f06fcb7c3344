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

ValueExtent ScanColumn(const SampleColumn& column, std::size_t first, std::size_t last) {
    ValueExtent extent;
    for (std::size_t i = first; i < last; ++i) {
        if (column.IsDrawable(i)) {
            extent.Add(column[i]);
        }
    }
    return extent;
}

// Columns kept in a file's raw numbers (bounded by raw numbers, rising and falling scales, raw
// gaps outside the range) and in floats with holes read exactly as every sample would.
TEST(EnvelopePyramid, ColumnsInTheirOwnNumbersMatchAFullScan) {
    std::mt19937 random(11);
    constexpr std::size_t kSize = 20000;
    std::vector<std::int16_t> raw16(kSize);
    std::vector<std::int32_t> raw32(kSize);
    std::vector<float> floats(kSize);
    for (std::size_t i = 0; i < kSize; ++i) {
        raw16[i] = static_cast<std::int16_t>(static_cast<int>(random() % 65536) - 32768);
        raw32[i] = static_cast<std::int32_t>(random() % 2'000'000'000U) - 1'000'000'000;
        floats[i] = random() % 50 == 0 ? NAN : static_cast<float>(random() % 100000) / 7.0f;
    }
    const struct {
        const char* what;
        SampleColumn column;
    } cases[] = {
        {"16-bit, rising scale", SampleColumn(std::span<const std::int16_t>(raw16),
                                              RawScale{0.5, -3.0, -30000.0, 30000.0})},
        {"16-bit, falling scale", SampleColumn(std::span<const std::int16_t>(raw16),
                                               RawScale{-0.125, 7.0, -32767.0, 20000.0})},
        {"32-bit",
         SampleColumn(std::span<const std::int32_t>(raw32), RawScale{1e-3, 0.0, -9e8, 9e8})},
        {"float with holes", SampleColumn(std::span<const float>(floats))},
    };
    for (const auto& c : cases) {
        const EnvelopePyramid pyramid(c.column);
        std::uniform_int_distribution<std::size_t> index(0, kSize);
        for (int trial = 0; trial < 400; ++trial) {
            std::size_t first = index(random);
            std::size_t last = index(random);
            if (first > last) {
                std::swap(first, last);
            }
            const ValueExtent expected = ScanColumn(c.column, first, last);
            const ValueExtent got = pyramid.Query(first, last);
            ASSERT_EQ(got.IsEmpty(), expected.IsEmpty()) << c.what << ' ' << first << ".." << last;
            if (!expected.IsEmpty()) {
                ASSERT_EQ(got.min, expected.min) << c.what << ' ' << first << ".." << last;
                ASSERT_EQ(got.max, expected.max) << c.what << ' ' << first << ".." << last;
            }
        }
    }
    // Two 16-bit numbers per block of the first level, and an eighth of that above it.
    const EnvelopePyramid raw(cases[0].column);
    EXPECT_LE(raw.LevelBytes(), kSize / EnvelopePyramid::kFirstBlock * 4 * 8 / 7 + 64);
}

TEST(EnvelopePyramid, ViewsOfOneColumnShareItsPyramidWhileOneHoldsIt) {
    const std::vector<double> values(1000, 1.0);
    const std::vector<double> other(1000, 2.0);
    auto first = EnvelopePyramid::Shared(SampleColumn(values));
    auto second = EnvelopePyramid::Shared(SampleColumn(values));
    EXPECT_EQ(first, second);
    EXPECT_NE(first, EnvelopePyramid::Shared(SampleColumn(other)));
    EXPECT_EQ(EnvelopePyramid::Shared(SampleColumn(other))->Query(0, 1000).max, 2.0);
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
