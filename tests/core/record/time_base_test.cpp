#include "core/record/time_base.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/record/load_error.h"
#include "core/record/nearest_sample.h"

namespace faultscope {
namespace {

const DateTime kFirst{2019, 2, 1, 10, 0, 0, 0};
const DateTime kTrigger{2019, 2, 1, 10, 0, 0, 100};

TEST(TimeBase, TimesFromSampleNumbers) {
    TimeBase tb;
    tb.CreateTimeLine(1, 1000, 1, kFirst, kTrigger);
    EXPECT_TRUE(tb.UseSamp());
    EXPECT_EQ(tb.Before(), 100'000);
    EXPECT_DOUBLE_EQ(tb.AxisMin(), -100.0);
    EXPECT_EQ(tb.GetRateTime(999, 1), -100'000);  // the time stamp is ignored
    EXPECT_EQ(tb.GetRateTime(0, 101), 0);
    EXPECT_EQ(tb.GetRateTime(-5, 301), 200'000);
    EXPECT_DOUBLE_EQ(tb.AxisMax(), 200.0);
}

TEST(TimeBase, SamplePeriodRoundsHalfToEven) {
    TimeBase tb;
    tb.CreateTimeLine(1, 3200, 1, kFirst, kFirst);
    EXPECT_DOUBLE_EQ(tb.T(), 312.5);
    EXPECT_EQ(tb.GetRateTime(0, 2), 312);
    EXPECT_EQ(tb.GetRateTime(0, 4), 938);
}

TEST(TimeBase, TimesFromStampsWhenNoRate) {
    TimeBase tb;
    tb.CreateTimeLine(1, 0, 0.5, kTrigger, kFirst);  // trigger before first: absolute span
    EXPECT_FALSE(tb.UseSamp());
    EXPECT_EQ(tb.Before(), 100'000);
    EXPECT_EQ(tb.GetRateTime(1000, 7), 500 - 100'000);
    EXPECT_EQ(tb.GetRateTime(1001, 8), 500 - 100'000);  // 500.5 rounds to even
    try {
        tb.GetRateTime(-1, 9);
        FAIL();
    } catch (const LoadError& e) {
        EXPECT_STREQ(e.what(), "samp, nrates и timestamp не заданы");
    }
    EXPECT_THROW(tb.GetRateTime(std::int64_t{1} << 40, 10), LoadError);
}

TEST(TimeBase, RefusesAnyRateCountButOne) {
    for (int nrates : {0, 2, 10}) {
        TimeBase tb;
        try {
            tb.CreateTimeLine(nrates, 1000, 1, kFirst, kTrigger);
            FAIL() << nrates;
        } catch (const LoadError& e) {
            EXPECT_STREQ(e.what(), "nrates не равен одному");
        }
    }
    TimeBase far;
    EXPECT_THROW(far.CreateTimeLine(1, 1000, 1, kFirst, DateTime{2019, 2, 1, 11, 0, 0, 0}),
                 LoadError);
}

TEST(NearestSample, EarlierWinsTiesAndViewLimitsTheSearch) {
    const std::vector<double> t{-1, 0, 1, 2, 3, 4};
    EXPECT_EQ(NearestSample(t, true, 0.5), 1);
    EXPECT_EQ(NearestSample(t, true, 0.51), 2);
    EXPECT_EQ(NearestSample(t, true, -7), 0);
    EXPECT_EQ(NearestSample(t, true, 9), 5);
    EXPECT_EQ(NearestSample(t, true, -7, 1.5, 3.5), 3);  // left of the view: first inside it
    EXPECT_EQ(NearestSample(t, true, 9, 1.5, 3.5), 4);
    EXPECT_EQ(NearestSample(t, true, 2, 10, 20), 3);  // nothing in view: whole record
    EXPECT_EQ(NearestSample({}, true, 0), -1);
    const std::vector<double> unordered{0, 5, 1, 4, 2};
    EXPECT_EQ(NearestSample(unordered, false, 4.5), 1);
    EXPECT_EQ(NearestSample(unordered, false, 4.2, 0, 4.1), 3);
}

}  // namespace
}  // namespace faultscope
