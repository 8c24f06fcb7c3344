#include "core/analysis/harmonic_fill.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "core/analysis/harmonic_signals.h"
#include "core/analysis/harmonics.h"
#include "core/analysis/harmonics_at.h"
#include "core/analysis/sliding_dft_set.h"
#include "core/record/load_error.h"
#include "core/record/progress.h"

namespace faultscope {
namespace {

using test::AngleDistance;
using test::AppendSampleTimes;
using test::SampleTimes;
using test::Waveform;

struct Signal {
    const char* name;
    std::vector<double> x;
    std::vector<double> y;
};

double WindowMaximum(const std::vector<double>& y, const HarmonicWindow& w) {
    double largest = 0.0;
    for (std::size_t i = w.end + 1 - w.length; i <= w.end; ++i) {
        largest = std::max(largest, std::fabs(y[i]));
    }
    return largest;
}

// The drawing columns are the double analysis rounded once to float: within half a float unit
// of the value (relative 2^-24, about 6e-8) beyond the double analysis's own bound.
constexpr double kFloatRounding = 0x1p-24;

// Equal, or both not a number.
bool Same(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

// Holds every sample of the fill to the direct computation: the numbers in double (printed and
// read by formulas) within 1e-9 of the window's largest value, the float columns the curves are
// drawn from within that plus the float rounding of the value.
void ExpectSameAsReference(const Signal& s, double frequency) {
    HarmonicColumns out;
    FundamentalColumns fundamental;
    HarmonicTraceColumns trace;
    FillHarmonics(s.x, s.y, frequency, out, {"Ia", nullptr, &trace, &fundamental});
    std::vector<std::array<double, 4>> rms;
    VisitHarmonicSums(s.x, s.y, frequency, [&rms](std::size_t, const HarmonicSums& sums) {
        rms.push_back({HarmonicRms(sums, 0), HarmonicRms(sums, 1), HarmonicRms(sums, 2),
                       HarmonicRms(sums, 3)});
    });
    ASSERT_EQ(out.size(), s.y.size()) << s.name;
    ASSERT_EQ(rms.size(), s.y.size()) << s.name;
    for (std::size_t p = 0; p < s.y.size(); ++p) {
        double angle = 0.0;
        const HarmonicValues ref = CalcCurrentValues(s.x, s.y, frequency, p, angle);
        const HarmonicSums sums = CalcHarmonicSums(s.x, s.y, frequency, p);
        ASSERT_EQ(trace.windowEnd[p], sums.window.end) << s.name << " " << p;
        // One analysis behind every form of the results.
        ASSERT_TRUE(Same(fundamental.rms[p], rms[p][0])) << s.name << " " << p;
        ASSERT_TRUE(Same(out.rms1[p], DrawingValue(rms[p][0]))) << s.name << " " << p;
        ASSERT_TRUE(Same(out.angle[p], DrawingAngle(fundamental.angle[p]))) << s.name << " " << p;
        if (!IsFullWindow(sums.window, s.y.size()) || WindowMaximum(s.y, sums.window) == 0.0) {
            ASSERT_TRUE(out.rms1[p] == 0.0 && out.rms2[p] == 0.0 && out.rms3[p] == 0.0 &&
                        out.rms5[p] == 0.0 && out.angle[p] == kUndefinedAngle)
                << s.name << " " << p;
            continue;
        }
        if (!std::isfinite(ref.Current1)) {
            // Drawn as not-a-number or held at the largest float.
            ASSERT_TRUE(std::isnan(out.rms1[p]) || out.rms1[p] == std::numeric_limits<float>::max())
                << s.name << " " << p;
            continue;
        }
        const double tolerance = 1e-9 * WindowMaximum(s.y, sums.window);
        const double refs[] = {ref.Current1, ref.Current2, ref.Current3, ref.Current5};
        for (std::size_t k = 0; k < kHarmonicOrders.size(); ++k) {
            ASSERT_NEAR(rms[p][k], refs[k], tolerance) << s.name << " " << p << " " << k;
            const double drawn = out.Rms(k)[p];
            ASSERT_NEAR(drawn, refs[k],
                        tolerance + kFloatRounding * (std::fabs(refs[k]) + tolerance))
                << s.name << " " << p << " " << k;
        }
        ASSERT_NEAR(trace.re1[p], sums.re[0], tolerance) << s.name << " " << p;
        ASSERT_NEAR(trace.im1[p], sums.im[0], tolerance) << s.name << " " << p;
        if (ref.Current1 > 1e-3 * WindowMaximum(s.y, sums.window)) {
            ASSERT_LT(AngleDistance(fundamental.angle[p], angle), 1e-4) << s.name << " " << p;
            ASSERT_LT(AngleDistance(out.angle[p], angle), 1e-4) << s.name << " " << p;
        }
    }
}

std::vector<double> WithZeros(std::vector<double> y, std::size_t from, std::size_t to) {
    std::fill(y.begin() + static_cast<std::ptrdiff_t>(from),
              y.begin() + static_cast<std::ptrdiff_t>(to), 0.0);
    return y;
}

TEST(FillHarmonics, MatchesTheDirectComputationAtEverySample) {
    const std::vector<test::Tone> fault = {
        {1, 100.0, 20.0}, {2, 6.0, 0.0}, {3, 20.0, 50.0}, {5, 8.0, 10.0}};
    const std::vector<double> kHz1 = SampleTimes(30'000, 1000.0, -200.0);
    std::vector<double> rateChange = SampleTimes(3000, 1000.0);
    AppendSampleTimes(rateChange, 3000, 4000.0);
    AppendSampleTimes(rateChange, 500, 600.0);
    const std::vector<double> kHz12 = SampleTimes(8000, 12'800.0);
    std::vector<double> loudThenQuiet = Waveform(kHz1, 50.0, 30.0, {{1, 1e4, 0.0}}, 50.0);
    const std::vector<double> quiet = Waveform(kHz1, 50.0, 0.0, {{1, 1e-3, 0.0}}, 1e-4, 7);
    std::copy(quiet.begin() + 9000, quiet.end(), loudThenQuiet.begin() + 9000);
    // A clock that steps 100, 101, 102, 103, 104 µs in turn: the window length changes at every
    // sample.
    std::vector<double> drifting(6000);
    for (std::size_t i = 1; i < drifting.size(); ++i) {
        drifting[i] = drifting[i - 1] + static_cast<double>(100 + (i - 1) % 5) / 1000.0;
    }
    std::vector<double> withNan = Waveform(kHz1, 50.0, 0.0, fault, 1.0);
    withNan[500] = std::numeric_limits<double>::quiet_NaN();
    withNan[2000] = std::numeric_limits<double>::infinity();
    const Signal signals[] = {
        {"harmonics, DC offset and noise", kHz1, Waveform(kHz1, 50.0, 40.0, fault, 3.0)},
        {"rate changes", rateChange, Waveform(rateChange, 50.0, -5.0, fault, 1.0)},
        {"12.8 kHz in whole microseconds", kHz12, Waveform(kHz12, 50.0, 2.0, fault, 1.0)},
        {"gaps of exact zeros", kHz1,
         WithZeros(WithZeros(WithZeros(Waveform(kHz1, 50.0, 0.0, fault, 1.0), 0, 50), 1000, 1100),
                   2000, 2010)},
        {"a loud signal, then a quiet one", kHz1, loudThenQuiet},
        {"a spacing that changes at every sample", drifting,
         Waveform(drifting, 50.0, 3.0, fault, 1.0)},
        {"not-a-number and infinite samples", kHz1, withNan},
    };
    for (const Signal& s : signals) {
        ExpectSameAsReference(s, 50.0);
    }
}

TEST(FillHarmonics, HandlesRecordsWithoutFullWindows) {
    const std::vector<double> one = {0.0};
    const std::vector<double> slow = SampleTimes(50, 20.0);
    const std::vector<double> short12 = SampleTimes(12, 1000.0);
    const std::vector<double> short30 = SampleTimes(30, 1000.0);
    const Signal signals[] = {
        {"no samples", {}, {}},
        {"a single sample", one, {3.0}},
        {"fewer samples than a window", short12, Waveform(short12, 50.0, 1.0, {{1, 5.0, 0.0}})},
        {"fewer than two windows", short30, Waveform(short30, 50.0, 1.0, {{1, 5.0, 0.0}})},
        {"spacing over twice the period", slow, Waveform(slow, 50.0, 1.0, {{1, 5.0, 3.0}})},
    };
    for (const Signal& s : signals) {
        ExpectSameAsReference(s, 50.0);
    }
}

TEST(FillHarmonics, KeepsDrawnResultsFiniteAndAnglesBelow360) {
    constexpr float kLargest = std::numeric_limits<float>::max();
    EXPECT_EQ(DrawingValue(1.5), 1.5F);
    EXPECT_EQ(DrawingValue(1e100), kLargest);
    EXPECT_EQ(DrawingValue(-1e100), -kLargest);
    EXPECT_TRUE(std::isnan(DrawingValue(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_EQ(DrawingAngle(123.5), 123.5F);
    EXPECT_EQ(DrawingAngle(359.99999999), 0.0F);
    EXPECT_LT(DrawingAngle(359.99), 360.0F);
    EXPECT_EQ(DrawingAngle(kUndefinedAngle), static_cast<float>(kUndefinedAngle));

    // Values beyond float's range, as a scale factor up to 1e150 allows.
    const std::vector<double> x = SampleTimes(200, 1000.0);
    const std::vector<double> y = Waveform(x, 50.0, 0.0, {{1, 1e100, 10.0}, {3, 1e99, 0.0}});
    HarmonicColumns out;
    FillHarmonics(x, y, 50.0, out);
    for (std::size_t p = 0; p < out.size(); ++p) {
        for (std::size_t k = 0; k < kHarmonicOrders.size(); ++k) {
            ASSERT_TRUE(std::isfinite(out.Rms(k)[p])) << p << " " << k;
        }
        ASSERT_TRUE(out.angle[p] == kUndefinedAngle || (out.angle[p] >= 0 && out.angle[p] < 360))
            << p;
    }
    EXPECT_EQ(out.rms1[100], kLargest);
}

TEST(FillHarmonics, AWindowOverAGapHasNoHarmonicsAndNoAngle) {
    // One cycle is 20 samples; sample 100 is a recorder's "no data" marker.
    const std::vector<double> x = SampleTimes(200, 1000.0);
    std::vector<double> y = Waveform(x, 50.0, 0.0, {{1, 100.0, 30.0}});
    const std::vector<double> clean = y;
    y[100] = 99999.0;
    std::vector<std::uint8_t> flags(y.size(), 0);
    flags[100] = 1;
    const AnalogColumns channel = AnalogColumns::FromValues(y, flags);
    const std::vector<std::size_t> gaps = GapSamples(channel.Samples());
    ASSERT_EQ(gaps, std::vector<std::size_t>{100});

    HarmonicColumns out;
    FundamentalColumns fundamental;
    FillHarmonics(x, y, 50.0, out, {.fundamental = &fundamental, .gapSamples = gaps});
    HarmonicColumns reference;
    FillHarmonics(x, clean, 50.0, reference);
    for (std::size_t p = 0; p < y.size(); ++p) {
        SCOPED_TRACE(p);
        const bool over = p >= 100 && p < 120;
        const std::optional<HarmonicReading> reading = ReadHarmonicsAt(x, channel, 50.0, p);
        ASSERT_TRUE(reading.has_value());
        EXPECT_EQ(CalcHarmonicSums(x, channel.Samples(), 50.0, p).overGap, over);
        for (std::size_t k = 0; k < kHarmonicOrders.size(); ++k) {
            ASSERT_EQ(std::isnan(out.Rms(k)[p]), over);
            ASSERT_EQ(std::isnan(reading->rms[k]), over);
            if (!over) {
                ASSERT_NEAR(out.Rms(k)[p], reference.Rms(k)[p], 1e-3);
            }
        }
        ASSERT_EQ(out.angle[p] == kUndefinedAngle, over);
        ASSERT_EQ(reading->angle == kUndefinedAngle, over);
        ASSERT_EQ(std::isnan(fundamental.rms[p]), over);
        ASSERT_EQ(fundamental.angle[p] == kUndefinedAngle, over);
    }
}

TEST(FillHarmonics, FirstSamplesRepeatTheResultsOneCycleLater) {
    const std::vector<double> x = SampleTimes(500, 1000.0);
    const std::vector<double> y = Waveform(x, 50.0, 1.0, {{1, 50.0, 33.0}, {3, 5.0, 0.0}}, 0.5);
    HarmonicColumns out;
    FillHarmonics(x, y, 50.0, out);
    for (std::size_t p = 0; p < 20; ++p) {
        EXPECT_EQ(out.rms1[p], out.rms1[p + 20]) << p;
        EXPECT_EQ(out.rms2[p], out.rms2[p + 20]) << p;
        EXPECT_EQ(out.rms3[p], out.rms3[p + 20]) << p;
        EXPECT_EQ(out.rms5[p], out.rms5[p + 20]) << p;
        EXPECT_EQ(out.angle[p], out.angle[p + 20]) << p;
    }
}

TEST(FillHarmonics, RejectsBadInputAndLeavesNoResults) {
    std::vector<double> x = SampleTimes(100, 1000.0);
    const std::vector<double> y(x.size(), 1.0);
    const std::string prefix = "Ошибка расчёта гармоник канала «Ib»: ";
    HarmonicColumns out;
    FillHarmonics(x, y, 50.0, out);
    ASSERT_EQ(out.size(), x.size());
    EXPECT_THROW(FillHarmonics(x, y, 0.0, out, {"Ib"}), LoadError);
    EXPECT_EQ(out.size(), 0U);
    x[70] = x[69] - 0.5;
    try {
        FillHarmonics(x, y, 50.0, out, {"Ib"});
        ADD_FAILURE() << "times that go back were accepted";
    } catch (const LoadError& e) {
        EXPECT_EQ(e.what(),
                  prefix + "время отсчёта 71 (68,5 мс) не больше времени предыдущего отсчёта");
    }
    EXPECT_EQ(out.size(), 0U);
}

TEST(FillHarmonics, RefusesWindowsLongerThanAnyPowerSystemNeeds) {
    // 1 MHz sampling at 5 Hz: 200 000 samples per period.
    const std::vector<double> x = SampleTimes(250'000, 1e6);
    const std::vector<double> y(x.size(), 1.0);
    HarmonicColumns out;
    // Refused as well by the check of a caller that prints as it analyses.
    EXPECT_THROW(CheckHarmonicAnalysis(x, 5.0, "Ib"), LoadError);
    try {
        FillHarmonics(x, y, 5.0, out, {"Ib"});
        ADD_FAILURE() << "a window of 200 000 samples was accepted";
    } catch (const LoadError& e) {
        EXPECT_STREQ(e.what(),
                     "Ошибка расчёта гармоник канала «Ib»: на период номинальной частоты у "
                     "отсчёта 1 приходится 200000 отсчётов, допустимо не больше 100000");
    }
    EXPECT_EQ(out.size(), 0U);
}

// Lengths that take turns keep their sums: a window costs the steps since its length's last
// window, never a sum over the whole window.
TEST(SlidingDftSet, KeepsTheSumsOfEveryLengthInTurn) {
    const std::vector<double> x = SampleTimes(5000, 1000.0);
    const std::vector<double> y = Waveform(x, 50.0, 1.0, {{1, 100.0, 20.0}, {3, 9.0, 0.0}}, 1.0);
    SlidingDftSet set(y);
    for (std::size_t end = 300; end < y.size(); ++end) {
        const HarmonicWindow window{end, 200 + end % 7};
        const HarmonicSums sums = set.SumsAt(window);
        if (end % 97 == 0) {
            const HarmonicSums fresh = SlidingDft(y, window.length).SumsAt(end);
            for (std::size_t h = 0; h < kHarmonicOrders.size(); ++h) {
                EXPECT_NEAR(sums.re[h], fresh.re[h], 1e-9) << end;
                EXPECT_NEAR(sums.im[h], fresh.im[h], 1e-9) << end;
            }
        }
    }
    EXPECT_EQ(set.KeptLengths(), 7U);
}

TEST(FillHarmonics, TicksThePumpAndStopsWhenTheLoadIsCancelled) {
    const std::vector<double> x = SampleTimes(10'000, 1000.0);
    const std::vector<double> y = Waveform(x, 50.0, 0.0, {{1, 1.0, 0.0}});
    std::vector<std::int64_t> ticks;
    ProgressPump pump([&](std::int64_t done) { ticks.push_back(done); }, 0);
    HarmonicColumns out;
    FillHarmonics(x, y, 50.0, out, {"Ia", &pump});
    ASSERT_GE(ticks.size(), 100U);
    EXPECT_TRUE(std::is_sorted(ticks.begin(), ticks.end()));
    EXPECT_LE(ticks.back(), 10'000);

    ProgressPump cancelling(
        [](std::int64_t done) {
            if (done > 5000) {
                throw LoadCancelled();
            }
        },
        0);
    EXPECT_THROW(FillHarmonics(x, y, 50.0, out, {"Ia", &cancelling}), LoadCancelled);
    EXPECT_EQ(out.size(), 0U);
}

}  // namespace
}  // namespace faultscope
