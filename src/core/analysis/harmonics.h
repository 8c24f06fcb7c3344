#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "core/record/harmonic_orders.h"
#include "core/record/sample_column.h"
#include "core/record/time_base.h"

namespace faultscope {

// RMS values of harmonics 1, 2, 3 and 5 at one sample, in the channel's units.
// Formerly TCurrentValues.
struct HarmonicValues {
    double Current1 = 0.0;
    double Current2 = 0.0;
    double Current3 = 0.0;
    double Current5 = 0.0;
};

// The one-cycle window of a sample: the `length` samples end - length + 1 ... end.
// A length of 0 means that no window exists (the sampling is slower than two per period).
struct HarmonicWindow {
    std::size_t end = 0;
    std::size_t length = 0;
};

// The normalised Fourier sums of one window: re[i] and im[i] are the cosine and sine amplitudes
// of harmonic kHarmonicOrders[i]. All zero when the record holds no full window for the sample.
struct HarmonicSums {
    HarmonicWindow window;
    std::array<double, 4> re{};
    std::array<double, 4> im{};
    // The window holds a sample outside the channel's range (a recorder's "no data" marker, say):
    // the sums are those of its raw numbers and mean nothing, so every harmonic and the angle of
    // the sample are undefined.
    bool overGap = false;
};

// The nominal frequencies a power system may have (railway 16.7 Hz and aircraft 400 Hz
// included), and the most samples one period may hold (5 MHz sampling at 50 Hz): the analysis
// refuses anything else, which also bounds its work per sample.
inline constexpr double kMinNominalFrequency = 1.0;
inline constexpr double kMaxNominalFrequency = 1000.0;
inline constexpr std::size_t kMaxWindowLength = 100'000;

// Throws LoadError unless the frequency is a number of hertz within the limits above.
void CheckNominalFrequency(double frequency, std::string_view channelId);

// Throws LoadError naming the first sample whose time is not after the time of the one before.
void CheckSampleTimes(std::span<const double> xMs, std::string_view channelId);

// The window of sample `point` for the nominal period periodMs; the window length follows the
// spacing to the next sample (to the previous one for the last sample). Throws LoadError for a
// spacing that is not positive or a window longer than kMaxWindowLength.
[[nodiscard]] HarmonicWindow LocateWindow(std::span<const double> xMs, double periodMs,
                                          std::size_t point, std::string_view channelId);

// Whether a window lies inside a record of `count` samples.
[[nodiscard]] constexpr bool IsFullWindow(const HarmonicWindow& w, std::size_t count) noexcept {
    return w.length != 0 && w.end < count;
}

// The direct one-cycle sums over the window of sample `point`: the reference the fill is held to.
[[nodiscard]] HarmonicSums CalcHarmonicSums(std::span<const double> xMs, std::span<const double> y,
                                            double frequency, std::size_t point,
                                            std::string_view channelId = {});

// The same over a channel's samples in whatever form they are kept: bit for bit the sums of the
// samples' values as doubles. A readout at the cursor takes its numbers from here.
[[nodiscard]] HarmonicSums CalcHarmonicSums(std::span<const double> xMs, const SampleColumn& y,
                                            double frequency, std::size_t point,
                                            std::string_view channelId = {});

// The RMS values from the amplitudes of the sums.
[[nodiscard]] HarmonicValues ToCurrentValues(const HarmonicSums& sums) noexcept;

// The angle of the fundamental in degrees, 0 <= angle < 360, from its cosine amplitude r1 and
// sine amplitude i1; kUndefinedAngle when both are exactly zero.
[[nodiscard]] double FundamentalAngle(double r1, double i1) noexcept;

// An angle rounded to `decimals` places as it will be printed: a value that rounds up to 360
// becomes 0, so that printed angles stay in 0 <= angle < 360. kUndefinedAngle stays as it is.
[[nodiscard]] double RoundedAngle(double angle, int decimals) noexcept;

// The harmonic analysis of one sample, computed directly from its window. Writes the angle of
// the fundamental into `angle`. Throws LoadError (naming channelId) for a frequency that is not
// positive and finite or a sample spacing that is not positive.
[[nodiscard]] HarmonicValues CalcCurrentValues(std::span<const double> xMs,
                                               std::span<const double> y, double frequency,
                                               std::size_t point, double& angle,
                                               std::string_view channelId = {});

}  // namespace faultscope
