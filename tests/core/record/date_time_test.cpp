#include "core/record/date_time.h"

#include <gtest/gtest.h>

namespace faultscope {
namespace {

TEST(DateTime, RoundTripsThroughMilliseconds) {
    const DateTime cases[] = {
        {1970, 1, 1, 0, 0, 0, 0},   {2019, 2, 1, 10, 20, 30, 123}, {2000, 2, 29, 23, 59, 59, 999},
        {1899, 12, 30, 0, 0, 0, 0}, {2100, 3, 1, 12, 0, 0, 1},     {1, 1, 1, 0, 0, 0, 0},
    };
    for (const DateTime& t : cases) {
        EXPECT_EQ(DateTime::FromMilliseconds(t.ToMilliseconds()), t) << t.year;
    }
    EXPECT_EQ((DateTime{1970, 1, 2, 0, 0, 0, 5}.ToMilliseconds()), 86'400'005);
    EXPECT_EQ((DateTime{1969, 12, 31, 23, 59, 59, 999}.ToMilliseconds()), -1);
}

TEST(DateTime, RoundTripsThroughMicrosecondsOnEitherSideOf1970) {
    const DateTime cases[] = {
        {1970, 1, 1, 0, 0, 0, 0, 1},
        {1969, 12, 31, 23, 59, 59, 999, 999},
        {2026, 12, 10, 14, 23, 5, 223, 456},
    };
    for (const DateTime& t : cases) {
        EXPECT_EQ(DateTime::FromMicroseconds(t.ToMicroseconds()), t) << t.year;
    }
    EXPECT_EQ((DateTime{1969, 12, 31, 23, 59, 59, 999, 999}.ToMicroseconds()), -1);
    EXPECT_EQ(FormatRecordTimeMicroseconds({2019, 2, 1, 10, 20, 30, 123, 4}),
              "2019.02.01 10:20:30.123004");
}

TEST(DateTime, RejectsImpossibleDates) {
    EXPECT_TRUE(DateTime::IsValid(2020, 2, 29, 0, 0, 0, 0));
    EXPECT_FALSE(DateTime::IsValid(2019, 2, 29, 0, 0, 0, 0));
    EXPECT_FALSE(DateTime::IsValid(1900, 2, 29, 0, 0, 0, 0));
    EXPECT_FALSE(DateTime::IsValid(2019, 13, 1, 0, 0, 0, 0));
    EXPECT_FALSE(DateTime::IsValid(2019, 1, 1, 24, 0, 0, 0));
    EXPECT_FALSE(DateTime::IsValid(2019, 1, 1, 0, 0, 60, 0));
    EXPECT_FALSE(DateTime::IsValid(2019, 1, 1, 0, 0, 0, 1000));
    EXPECT_FALSE(DateTime::IsValid(0, 1, 1, 0, 0, 0, 0));
}

TEST(DateTime, FormatShowsMillisecondsAfterTheSeconds) {
    EXPECT_EQ(FormatRecordTime({2019, 2, 1, 10, 20, 30, 123}), "2019.02.01 10:20:30.123");
    EXPECT_EQ(FormatRecordTime({2019, 2, 1, 10, 20, 30, 7}, '/', ':'), "2019/02/01 10:20:30.007");
    // Two events within one second read apart.
    EXPECT_NE(FormatRecordTime({2019, 2, 1, 10, 20, 30, 100}),
              FormatRecordTime({2019, 2, 1, 10, 20, 30, 900}));
}

}  // namespace
}  // namespace faultscope
