#include "core/record/channel_data.h"

#include <bit>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "support/record_columns.h"

#include "core/record/load_error.h"

namespace faultscope {
namespace {

using Points = std::vector<std::pair<double, double>>;

Points PointsOf(const DiscreteColumns& c) {
    Points p;
    for (std::size_t i = 0; i < c.x.size(); ++i) {
        p.emplace_back(c.x[i], c.state[i]);
    }
    return p;
}

TEST(DiscreteChannel, StoresOnlyStateChanges) {
    DiscreteColumns c;
    for (std::size_t i = 0; const double v : {0.0, 0.0, 1.0, 1.0, 0.0}) {
        DiscreteAddPoint(c, static_cast<double>(i), v, i);
        ++i;
    }
    EXPECT_EQ(PointsOf(c), (Points{{2, 0}, {2, 1}, {4, 1}, {4, 0}}));
    EXPECT_EQ(c.changeSamples, (std::vector<std::size_t>{2, 4}));
    DiscreteAfterAllDataLoad(c, 4);
    EXPECT_EQ(PointsOf(c), (Points{{2, 0}, {2, 1}, {4, 1}, {4, 0}, {4, 0}, {4, 0}}));

    DiscreteColumns on;
    DiscreteAddPoint(on, -100, 1, 0);
    DiscreteAddPoint(on, 300, 1, 400);
    DiscreteAfterAllDataLoad(on, 300);
    EXPECT_EQ(PointsOf(on), (Points{{-100, 0}, {-100, 1}, {300, 1}, {300, 0}}));
}

TEST(DiscreteChannel, RefusesValuesOtherThanZeroOrOne) {
    for (const double v : {0.5, 2.0, -1.0}) {
        DiscreteColumns c;
        try {
            DiscreteAddPoint(c, 0, v, 0);
            FAIL() << v;
        } catch (const LoadError& e) {
            EXPECT_STREQ(e.what(), "Недопустимое значение дискретного канала.");
        }
    }
}

TEST(DiscreteChannel, ChangesStateOnlyAfterItsFirstSample) {
    struct Case {
        const char* what;
        std::vector<double> states;  // one per sample, at 0, 1, 2… ms
        std::size_t changes;
    };
    const Case cases[] = {
        {"always off", {0, 0, 0, 0}, 0},  {"on from the first sample", {1, 1, 1, 1}, 0},
        {"switches on", {0, 0, 1, 1}, 1}, {"switches off", {1, 1, 0, 0}, 1},
        {"a pulse", {0, 1, 0, 0}, 2},     {"on only at the last sample", {0, 0, 0, 1}, 1},
    };
    for (const Case& c : cases) {
        DiscreteColumns column;
        std::size_t i = 0;
        for (double v : c.states) {
            DiscreteAddPoint(column, static_cast<double>(i), v, i);
            ++i;
        }
        DiscreteAfterAllDataLoad(column, static_cast<double>(i - 1));
        EXPECT_EQ(StateChangeCount(column, 0.0), c.changes) << c.what;
        EXPECT_EQ(ChangesState(column, 0.0), c.changes > 0) << c.what;
    }
    EXPECT_FALSE(ChangesState(DiscreteColumns{}, 0.0));
}

TEST(DiscreteChannel, SpareChannelsHaveNoStrip) {
    EXPECT_FALSE(DiscreteHasStrip(DigitalChannel{.ch_id = " [Spare] "}));
    EXPECT_TRUE(DiscreteHasStrip(DigitalChannel{.ch_id = "[Spare"}));
}

TEST(MakeAnalogChannel, ScalesInsideRangeAndKeepsRawGaps) {
    const AnalogChannel info{.a = 2, .b = 1, .min = -10, .max = 10};
    AnalogColumns c;
    c.SetRawScale(RawScaleOf(info));
    for (const double raw : {5.0, 11.0, -10.0}) {
        c.AppendRaw(raw);
    }
    EXPECT_EQ(c.Values(), (std::vector<double>{11, 11, -19}));
    EXPECT_EQ(test::Gaps(c), (std::vector<std::uint8_t>{0, 1, 0}));
}

struct RawCase {
    std::int32_t min, max;
    std::vector<double> raw;
    std::size_t bytesPerSample;
};

const RawCase kRawCases[] = {
    {-32768, 32767, {-32768, 0, 32767, 5}, 2},
    {-32768, 32767, {1, 2, 40000, -3}, 4},  // a gap beyond 16 bits widens the column
    {0, 99999, {1, 99999, -2}, 4},          // the range alone needs 32 bits
    {-32768, 32767, {1, 2.5, -3}, 8},       // a fraction is kept as it is
    {-32768, 32767, {1, 2, 3e12, -3}, 8},   // beyond 32 bits too
    {-32768, 32767, {7, -0.0, 9}, 8},       // and so is the sign of a zero
};

RawScale ScaleOf(const RawCase& c) {
    return {0.001, -0.25, static_cast<double>(c.min), static_cast<double>(c.max)};
}

// Raw numbers are kept in the smallest form that holds every one of them exactly; the values
// read back are the ones a·raw + b gives in double, gaps keeping their raw number.
TEST(MakeAnalogChannel, KeepsRawNumbersInTheSmallestExactForm) {
    using Case = RawCase;
    const auto& cases = kRawCases;
    for (const Case& c : cases) {
        AnalogColumns columns;
        columns.SetRawScale(ScaleOf(c));
        columns.Reserve(c.raw.size());
        for (const double raw : c.raw) {
            columns.AppendRaw(raw);
        }
        ASSERT_EQ(columns.size(), c.raw.size());
        for (std::size_t i = 0; i < c.raw.size(); ++i) {
            const bool inside = c.min <= c.raw[i] && c.raw[i] <= c.max;
            const double expected = inside ? 0.001 * c.raw[i] + -0.25 : c.raw[i];
            EXPECT_EQ(std::bit_cast<std::uint64_t>(columns.Value(i)),
                      std::bit_cast<std::uint64_t>(expected))
                << c.raw[i];
            EXPECT_EQ(columns.Gap(i), !inside) << c.raw[i];
        }
        EXPECT_EQ(columns.SampleBytes(), c.bytesPerSample * c.raw.size()) << c.raw[1];
    }
}

// A column joined from pieces, or appended whole number by whole number, is the column appended
// raw number by raw number: same storage, same values bit for bit, same gaps.
TEST(MakeAnalogChannel, JoinedPiecesAreTheColumnAppendedOneByOne) {
    const auto bits = [](const AnalogColumns& c) {
        std::vector<std::uint64_t> out;
        for (const double v : c.Values()) {
            out.push_back(std::bit_cast<std::uint64_t>(v));
        }
        return out;
    };
    for (const RawCase& c : kRawCases) {
        AnalogColumns oneByOne;
        oneByOne.SetRawScale(ScaleOf(c));
        AnalogColumns wholes = oneByOne;
        for (const double raw : c.raw) {
            oneByOne.AppendRaw(raw);
            const auto whole = static_cast<std::int64_t>(raw);
            if (static_cast<double>(whole) == raw && !std::signbit(raw)) {
                wholes.AppendWhole(whole);
            } else {
                wholes.AppendRaw(raw);
            }
        }
        EXPECT_EQ(bits(wholes), bits(oneByOne));
        EXPECT_EQ(wholes.Samples().kind(), oneByOne.Samples().kind());
        std::size_t gaps = 0;
        for (std::size_t i = 0; i < oneByOne.size(); ++i) {
            gaps += oneByOne.Gap(i) ? 1 : 0;
        }
        EXPECT_EQ(GapCount(oneByOne), gaps) << c.raw[1];
        for (std::size_t cut = 0; cut <= c.raw.size(); ++cut) {
            AnalogColumns first = wholes;
            AnalogColumns second = wholes;
            first.SetRawScale(ScaleOf(c));
            second.SetRawScale(ScaleOf(c));
            for (std::size_t i = 0; i < c.raw.size(); ++i) {
                (i < cut ? first : second).AppendRaw(c.raw[i]);
            }
            second.AppendRaw(123456789.5);  // beyond the count joined
            AnalogColumns joined;
            joined.SetRawScale(ScaleOf(c));
            joined.AppendSamples(first, first.size());
            joined.AppendSamples(second, c.raw.size() - cut);
            EXPECT_EQ(bits(joined), bits(oneByOne)) << c.raw[1] << " cut at " << cut;
            EXPECT_EQ(joined.Samples().kind(), oneByOne.Samples().kind()) << cut;
            EXPECT_EQ(test::Gaps(joined), test::Gaps(oneByOne)) << cut;
        }
    }
}

// Gaps are counted with the test of each sample, whatever the bounds of the range.
TEST(MakeAnalogChannel, GapCountIsTheNumberOfGapSamples) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<double, double> bounds[] = {
        {-2.5, 3.5}, {0.5, 0.7}, {3, -3}, {-inf, 2}, {std::nan(""), 5}, {-1e12, 1e12}, {-3, 3},
    };
    const std::vector<std::int16_t> raw16 = {-32768, -4, -3, -2, 0, 2, 3, 4, 32767};
    const std::vector<std::int32_t> raw32 = {-2147483647 - 1, -4, -3, 0, 3, 4, 2147483647};
    const auto counted = [](const SampleColumn& column) {
        std::size_t gaps = 0;
        for (std::size_t i = 0; i < column.size(); ++i) {
            gaps += column.IsGap(i) ? 1 : 0;
        }
        return gaps;
    };
    for (const auto& [min, max] : bounds) {
        const RawScale scale{2, 1, min, max};
        const SampleColumn c16(std::span<const std::int16_t>(raw16), scale);
        const SampleColumn c32(std::span<const std::int32_t>(raw32), scale);
        EXPECT_EQ(c16.CountGaps(), counted(c16)) << min << " " << max;
        EXPECT_EQ(c32.CountGaps(), counted(c32)) << min << " " << max;
    }
    EXPECT_EQ(
        SampleColumn(std::span<const std::int16_t>(raw16), RawScale{1, 0, -2.5, 3.5}).CountGaps(),
        5U);
}

// Extents of raw columns are read from the smallest and largest raw numbers; they must equal a
// scan of every drawn value, whatever the sign of a, the gaps, and values that overflow.
TEST(MakeAnalogChannel, RawExtentsMatchAScanOfTheValues) {
    const double inf = std::numeric_limits<double>::infinity();
    const RawScale scales[] = {
        {2, 1, -30000, 30000}, {-0.5, 3, -30000, 30000},  {0, 7, -30000, 30000},
        {1, 0, -3.5, 4.2},     {1e308, 0, -40000, 40000}, {-1e308, -1e308, -40000, 40000},
        {1, 0, 5, -5},         {1, 0, std::nan(""), 9},   {std::nan(""), 0, -inf, inf},
    };
    std::vector<std::int16_t> raw16;
    std::vector<std::int32_t> raw32;
    for (int i = 0; i < 203; ++i) {
        const int v = (i * 7919) % 401 - 200;
        raw16.push_back(static_cast<std::int16_t>(i % 37 == 5 ? 32767 : v));
        raw32.push_back(i % 41 == 3 ? -999999 : v * 3);
    }
    const auto scan = [](const SampleColumn& column, std::size_t first, std::size_t last) {
        ValueExtent extent;
        for (std::size_t i = first; i < last; ++i) {
            if (column.IsDrawable(i)) {
                extent.Add(column[i]);
            }
        }
        return extent;
    };
    const auto same = [](const ValueExtent& a, const ValueExtent& b) {
        return a.IsEmpty() == b.IsEmpty() && (a.IsEmpty() || (a.min == b.min && a.max == b.max));
    };
    for (const RawScale& scale : scales) {
        for (const SampleColumn& column :
             {SampleColumn(std::span<const std::int16_t>(raw16), scale),
              SampleColumn(std::span<const std::int32_t>(raw32), scale)}) {
            const auto kind = static_cast<int>(column.kind());
            EXPECT_TRUE(same(column.Extent(0, column.size()), scan(column, 0, column.size())))
                << kind << " a=" << scale.a;
            for (const std::size_t block : {1, 3, 8, 64}) {
                std::vector<ValueExtent> blocks((column.size() + block - 1) / block);
                column.BlockExtents(0, block, blocks);
                for (std::size_t b = 0; b < blocks.size(); ++b) {
                    const std::size_t last = std::min(column.size(), (b + 1) * block);
                    ASSERT_TRUE(same(blocks[b], scan(column, b * block, last)))
                        << kind << " a=" << scale.a << " block " << block << " #" << b;
                }
            }
            bool drawable = true;
            for (std::size_t i = 0; i < column.size(); ++i) {
                drawable = drawable && column.IsDrawable(i);
            }
            EXPECT_EQ(column.AllDrawable(), drawable) << kind << " a=" << scale.a;
        }
    }
    // Without gaps: every sample is drawn unless a value overflows.
    const std::vector<std::int16_t> plain = {-3, 0, 5};
    EXPECT_TRUE(SampleColumn(std::span<const std::int16_t>(plain), {2, 1, -10, 10}).AllDrawable());
    EXPECT_FALSE(
        SampleColumn(std::span<const std::int16_t>(plain), {1e308, 0, -10, 10}).AllDrawable());
}

TEST(MakeAnalogChannel, DuplicateNumbersAreRefused) {
    const std::vector<AnalogChannel> ok{{.An = 1}, {.An = 2}};
    EXPECT_NO_THROW(CheckAnalogStripNames(ok));
    const std::vector<AnalogChannel> dup{{.An = 1}, {.An = 3}, {.An = 3}};
    try {
        CheckAnalogStripNames(dup);
        FAIL();
    } catch (const LoadError& e) {
        EXPECT_NE(std::string(e.what()).find("frmA3"), std::string::npos) << e.what();
    }
}

TEST(ValueRange, GapSamplesDoNotWidenTheRange) {
    const auto channel = [](std::vector<double> value, std::vector<std::uint8_t> gap) {
        return AnalogColumns::FromValues(value, gap);
    };
    const struct {
        std::vector<AnalogColumns> channels;
        double min, max;
    } cases[] = {
        {{channel({-5, 999999, 7}, {0, 1, 0})}, -5, 7},
        {{channel({-5, 7}, {0, 0}), channel({999999, -999999}, {1, 1})}, -5, 7},
        {{channel({999999}, {1}), channel({2, 3}, {0, 0})}, 2, 3},
        {{channel({999999, 99999}, {1, 1})}, 0, 0},
    };
    for (const auto& item : cases) {
        const ValueRange r = GetYMinMaxFromAllCht(item.channels);
        EXPECT_EQ(r.min, item.min);
        EXPECT_EQ(r.max, item.max);
    }
}

TEST(ValueRange, RangeOfNoSamplesIsZero) {
    std::vector<AnalogColumns> chans(3);
    const ValueRange r = GetYMinMaxFromAllCht(chans);
    EXPECT_EQ(r.min, 0);
    EXPECT_EQ(r.max, 0);
}

}  // namespace
}  // namespace faultscope
