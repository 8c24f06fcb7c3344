#include "core/analysis/harmonics.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/analysis/harmonic_signals.h"
#include "core/record/load_error.h"
#include "core/record/record_data.h"

namespace faultscope {
namespace {

using test::AngleDistance;
using test::SampleTimes;
using test::Waveform;

struct Result {
    HarmonicValues values;
    double angle = -1.0;
};

Result At(const std::vector<double>& x, const std::vector<double>& y, double frequency,
          std::size_t point) {
    Result r;
    r.values = CalcCurrentValues(x, y, frequency, point, r.angle, "Ia");
    return r;
}

TEST(CalcCurrentValues, SineOfAmplitude100GivesItsRmsAndPhase) {
    // Starts 100 ms before the trigger: the wave crosses zero upward at every whole 20 ms.
    const std::vector<double> x = SampleTimes(200, 1000.0, -100.0);
    const std::vector<double> y = Waveform(x, 50.0, 0.0, {{1, 100.0, 0.0}});
    for (std::size_t p = 0; p < x.size(); ++p) {
        const Result r = At(x, y, 50.0, p);
        ASSERT_NEAR(r.values.Current1, 100.0 / std::sqrt(2.0), 1e-9) << p;
        EXPECT_NEAR(r.values.Current2, 0.0, 1e-9) << p;
        EXPECT_NEAR(r.values.Current3, 0.0, 1e-9) << p;
        EXPECT_NEAR(r.values.Current5, 0.0, 1e-9) << p;
        // The phase at the window's last sample, advancing 360 / 20 degrees per sample.
        const std::size_t end = p < 20 ? p + 20 : p;
        EXPECT_LT(AngleDistance(r.angle, 18.0 * static_cast<double>(end % 20)), 1e-9) << p;
        EXPECT_GE(r.angle, 0.0);
        EXPECT_LT(r.angle, 360.0);
    }
    EXPECT_LT(AngleDistance(At(x, y, 50.0, 100).angle, 0.0), 1e-9);  // upward zero at 0 ms
    EXPECT_NEAR(At(x, y, 50.0, 105).angle, 90.0, 1e-9);              // positive peak at 5 ms
    EXPECT_NEAR(At(x, y, 50.0, 115).angle, 270.0, 1e-9);             // negative peak
}

TEST(CalcCurrentValues, WindowFollowsTheLocalSpacing) {
    std::vector<double> uneven = SampleTimes(100, 1000.0);
    uneven.back() += 1.0;  // the last spacing is 2 ms
    struct Case {
        const char* name;
        std::vector<double> x;
        double frequency;
        std::size_t point;
        std::size_t end;
        std::size_t length;
    };
    const Case cases[] = {
        {"1 kHz, first sample", SampleTimes(100, 1000.0), 50.0, 0, 20, 20},
        {"1 kHz, last moved sample", SampleTimes(100, 1000.0), 50.0, 19, 39, 20},
        {"1 kHz, first own window", SampleTimes(100, 1000.0), 50.0, 20, 20, 20},
        {"1200 Hz", SampleTimes(100, 1200.0), 50.0, 50, 50, 24},
        {"half to even below", SampleTimes(100, 1000.0), 1000.0 / 24.5, 50, 50, 24},
        {"half to even above", SampleTimes(100, 1000.0), 1000.0 / 25.5, 50, 50, 26},
        {"last sample uses the spacing before it", uneven, 50.0, 99, 99, 10},
        {"next to last uses the spacing after it", uneven, 50.0, 98, 98, 10},
        {"earlier samples keep 1 ms", uneven, 50.0, 97, 97, 20},
        {"spacing over twice the period: no window", SampleTimes(100, 20.0), 50.0, 50, 50, 0},
        {"spacing of 1.25 periods: a window of one", SampleTimes(100, 40.0), 50.0, 50, 50, 1},
    };
    for (const Case& c : cases) {
        const std::vector<double> y(c.x.size(), 1.0);
        const HarmonicSums sums = CalcHarmonicSums(c.x, y, c.frequency, c.point);
        EXPECT_EQ(sums.window.end, c.end) << c.name;
        EXPECT_EQ(sums.window.length, c.length) << c.name;
    }
}

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour) {
    const std::pair<double, double> cases[] = {{24.5, 24.0},    {25.5, 26.0}, {0.5, 0.0},
                                               {1.5, 2.0},      {0.4, 0.0},   {24.4999, 24.0},
                                               {24.5001, 25.0}, {7.0, 7.0}};
    for (const auto& [value, rounded] : cases) {
        EXPECT_EQ(RoundHalfEven(value), rounded) << value;
    }
}

TEST(CalcCurrentValues, FirstWindowOfSamplesIsTheWindowOneCycleLater) {
    const std::vector<double> x = SampleTimes(120, 1000.0);
    const std::vector<double> y =
        Waveform(x, 50.0, 3.0, {{1, 80.0, 10.0}, {3, 9.0, 40.0}, {2, 4.0, 0.0}}, 2.0);
    for (std::size_t p = 0; p < 20; ++p) {
        const Result early = At(x, y, 50.0, p);
        const Result later = At(x, y, 50.0, p + 20);
        EXPECT_EQ(early.values.Current1, later.values.Current1) << p;
        EXPECT_EQ(early.values.Current2, later.values.Current2) << p;
        EXPECT_EQ(early.values.Current3, later.values.Current3) << p;
        EXPECT_EQ(early.values.Current5, later.values.Current5) << p;
        EXPECT_EQ(early.angle, later.angle) << p;
    }
}

TEST(CalcCurrentValues, HarmonicContentIsMeasuredPerOrder) {
    const std::vector<double> x = SampleTimes(100, 2000.0);
    const std::vector<double> y =
        Waveform(x, 50.0, 0.0, {{1, 100.0, 30.0}, {2, 7.0, 0.0}, {3, 20.0, 70.0}, {5, 11.0, 5.0}});
    for (std::size_t p : {0, 40, 77, 99}) {
        const HarmonicValues v = At(x, y, 50.0, p).values;
        EXPECT_NEAR(v.Current3, 0.2 * v.Current1, 1e-9) << p;
        EXPECT_NEAR(v.Current2, 7.0 / std::sqrt(2.0), 1e-9) << p;
        EXPECT_NEAR(v.Current5, 11.0 / std::sqrt(2.0), 1e-9) << p;
    }
}

TEST(FundamentalAngle, FollowsTheQuadrantRules) {
    struct Case {
        double r1, i1, angle;
    };
    const Case cases[] = {
        {0.0, 1.0, 0.0},     {0.0, -1.0, 180.0},  {1.0, 0.0, 90.0},     {-1.0, 0.0, 270.0},
        {0.0, 0.0, 65535.0}, {1.0, 1.0, 45.0},    {1.0, -1.0, 135.0},   {-1.0, -1.0, 225.0},
        {-1.0, 1.0, 315.0},  {-1e-300, 1.0, 0.0}, {-0.0, 0.0, 65535.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(FundamentalAngle(c.r1, c.i1), c.angle, 1e-12) << c.r1 << " " << c.i1;
        EXPECT_LT(FundamentalAngle(c.r1, c.i1), c.angle == kUndefinedAngle ? 65536.0 : 360.0);
    }
}

TEST(RoundedAngle, AnAngleThatRoundsUpTo360IsPrintedAs0) {
    struct Case {
        double angle;
        int decimals;
        double rounded;
    };
    const Case cases[] = {
        {359.9999996, 6, 0.0},   {359.9999994, 6, 359.999999},
        {359.996, 2, 0.0},       {359.994, 2, 359.99},
        {0.0000004, 6, 0.0},     {180.1234567, 6, 180.123457},
        {65535.0, 6, 65535.0},   {-0.0000004, 6, -0.0},
        {360.0000004, 6, 360.0}, {std::nextafter(360.0, 0.0), 6, 0.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RoundedAngle(c.angle, c.decimals), c.rounded) << c.angle;
    }
}

// Turns division by zero, invalid operations and overflow into a trap while it lives.
class FloatingPointTraps {
  public:
    FloatingPointTraps() {
        std::feclearexcept(FE_ALL_EXCEPT);
        feenableexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
    }
    ~FloatingPointTraps() { fedisableexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW); }
};

TEST(CalcCurrentValues, RecordsWithoutAFullWindowGiveZeroAndUndefinedAngle) {
    const FloatingPointTraps traps;
    struct Case {
        const char* name;
        std::vector<double> x;
        std::vector<std::size_t> emptyPoints;
    };
    const std::vector<double> thirty = SampleTimes(30, 1000.0);
    const Case cases[] = {
        {"a single sample", {5.0}, {0}},
        {"fewer samples than a window", SampleTimes(12, 1000.0), {0, 5, 11}},
        {"windows of the first samples beyond the end", thirty, {10, 15, 19}},
        {"spacing over twice the period", SampleTimes(10, 20.0), {0, 4, 9}},
        {"a window as long as the record", SampleTimes(20, 1000.0), {0, 19}},
    };
    for (const Case& c : cases) {
        const std::vector<double> y = Waveform(c.x, 50.0, 1.0, {{1, 10.0, 0.0}});
        for (std::size_t p : c.emptyPoints) {
            const Result r = At(c.x, y, 50.0, p);
            EXPECT_EQ(r.values.Current1, 0.0) << c.name << " " << p;
            EXPECT_EQ(r.values.Current5, 0.0) << c.name << " " << p;
            EXPECT_EQ(r.angle, kUndefinedAngle) << c.name << " " << p;
        }
    }
    // In the same record the samples whose window fits are analysed.
    const std::vector<double> y = Waveform(thirty, 50.0, 0.0, {{1, 10.0, 0.0}});
    EXPECT_NEAR(At(thirty, y, 50.0, 9).values.Current1, 10.0 / std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(At(thirty, y, 50.0, 20).values.Current1, 10.0 / std::sqrt(2.0), 1e-9);
}

TEST(CalcCurrentValues, AllZeroChannelHasNoAngle) {
    const FloatingPointTraps traps;
    const std::vector<double> x = SampleTimes(60, 1000.0);
    const std::vector<double> y(x.size(), 0.0);
    for (std::size_t p = 0; p < x.size(); ++p) {
        const Result r = At(x, y, 50.0, p);
        EXPECT_EQ(r.values.Current1, 0.0);
        EXPECT_EQ(r.values.Current2, 0.0);
        EXPECT_EQ(r.values.Current3, 0.0);
        EXPECT_EQ(r.values.Current5, 0.0);
        EXPECT_EQ(r.angle, kUndefinedAngle) << p;
    }
}

TEST(CalcCurrentValues, RejectsBadFrequencyAndTimesThatDoNotAscend) {
    const FloatingPointTraps traps;
    std::vector<double> x(40);
    for (std::size_t i = 0; i < x.size(); ++i) {
        x[i] = static_cast<double>(i) * 0.25 - 1.0;
    }
    std::vector<double> repeated = x;
    repeated[11] = repeated[10];  // sample 12 at 1.5 ms, like sample 11
    std::vector<double> backwards = x;
    backwards[39] = 2.0;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const std::vector<double>& x;
        double frequency;
        std::size_t point;
        std::string message;
    };
    const std::string prefix = "Ошибка расчёта гармоник канала «Ia»: ";
    const Case cases[] = {
        {repeated, 50.0, 10,
         prefix + "время отсчёта 12 (1,5 мс) не больше времени предыдущего отсчёта"},
        {repeated, 50.0, 11, ""},  // its own spacing to the next sample is fine
        {backwards, 50.0, 39,
         prefix + "время отсчёта 40 (2 мс) не больше времени предыдущего отсчёта"},
        {x, 0.0, 5, prefix + "номинальная частота 0 Гц вне допустимых пределов от 1 до 1000 Гц"},
        {x, -50.0, 5,
         prefix + "номинальная частота -50 Гц вне допустимых пределов от 1 до 1000 Гц"},
        {x, 0.1, 5, prefix + "номинальная частота 0,1 Гц вне допустимых пределов от 1 до 1000 Гц"},
        {x, 1000.5, 5,
         prefix + "номинальная частота 1000,5 Гц вне допустимых пределов от 1 до 1000 Гц"},
        {x, nan, 5, prefix + "номинальная частота не является числом"},
        {x, inf, 5, prefix + "номинальная частота не является числом"},
    };
    const std::vector<double> y(x.size(), 1.0);
    for (const Case& c : cases) {
        double angle = 0.0;
        if (c.message.empty()) {
            EXPECT_NO_THROW((void)CalcCurrentValues(c.x, y, c.frequency, c.point, angle, "Ia"));
            continue;
        }
        try {
            (void)CalcCurrentValues(c.x, y, c.frequency, c.point, angle, "Ia");
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const LoadError& e) {
            EXPECT_EQ(e.what(), c.message);
        }
    }
}

}  // namespace
}  // namespace faultscope
