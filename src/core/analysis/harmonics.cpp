#include "core/analysis/harmonics.h"

#include <charconv>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <type_traits>

#include "core/record/load_error.h"
#include "core/record/record_data.h"

namespace faultscope {
namespace {

// A number as the user writes it: shortest exact form, decimal comma.
std::string FormatNumber(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    for (char& c : text) {
        if (c == '.') {
            c = ',';
        }
    }
    return text;
}

[[noreturn]] void ThrowAnalysisError(std::string_view channelId, const std::string& what) {
    throw LoadError("Ошибка расчёта гармоник канала «" + std::string(channelId) + "»: " + what);
}

[[noreturn]] void ThrowSpacingError(std::span<const double> xMs, std::size_t later,
                                    std::string_view channelId) {
    ThrowAnalysisError(channelId, "время отсчёта " + std::to_string(later + 1) + " (" +
                                      FormatNumber(xMs[later]) +
                                      " мс) не больше времени предыдущего отсчёта");
}

}  // namespace

void CheckNominalFrequency(double frequency, std::string_view channelId) {
    // Classified before compared, so that a trap on invalid operations never fires here.
    if (!std::isfinite(frequency)) {
        ThrowAnalysisError(channelId, "номинальная частота не является числом");
    }
    if (frequency < kMinNominalFrequency || frequency > kMaxNominalFrequency) {
        ThrowAnalysisError(channelId, "номинальная частота " + FormatNumber(frequency) +
                                          " Гц вне допустимых пределов от " +
                                          FormatNumber(kMinNominalFrequency) + " до " +
                                          FormatNumber(kMaxNominalFrequency) + " Гц");
    }
}

void CheckSampleTimes(std::span<const double> xMs, std::string_view channelId) {
    for (std::size_t i = 1; i < xMs.size(); ++i) {
        if (!std::isgreater(xMs[i] - xMs[i - 1], 0.0)) {
            ThrowSpacingError(xMs, i, channelId);
        }
    }
}

HarmonicWindow LocateWindow(std::span<const double> xMs, double periodMs, std::size_t point,
                            std::string_view channelId) {
    const std::size_t count = xMs.size();
    if (count < 2) {
        return {point, 0};
    }
    const std::size_t later = point + 1 < count ? point + 1 : point;
    const double spacing = xMs[later] - xMs[later - 1];
    if (!std::isgreater(spacing, 0.0)) {
        ThrowSpacingError(xMs, later, channelId);
    }
    // A window longer than the record cannot be complete; checking first also keeps the
    // quotient from overflowing.
    if (!(periodMs < spacing * static_cast<double>(count))) {
        return {point, 0};
    }
    const auto length = static_cast<std::size_t>(RoundHalfEven(periodMs / spacing));
    if (length > kMaxWindowLength) {
        ThrowAnalysisError(
            channelId, "на период номинальной частоты у отсчёта " + std::to_string(point + 1) +
                           " приходится " + std::to_string(length) +
                           " отсчётов, допустимо не больше " + std::to_string(kMaxWindowLength));
    }
    return {point < length ? point + length : point, length};
}

namespace {

// The defining sums over the window of `sums`, reading value i as y[i]: the one computation for
// every form the samples are kept in.
template <typename Values>
void SumWindow(HarmonicSums& sums, const Values& y) {
    const std::size_t n = sums.window.length;
    const std::size_t first = sums.window.end + 1 - n;
    const double theta = (360.0 / static_cast<double>(n)) * (std::numbers::pi / 180.0);
    for (std::size_t k = 1; k <= n; ++k) {
        const double v = y[first + k - 1];
        const double kd = static_cast<double>(k);
        sums.re[0] += v * std::cos(kd * theta);
        sums.im[0] += v * std::sin(kd * theta);
        for (std::size_t h = 1; h < kHarmonicOrders.size(); ++h) {
            const double order = kHarmonicOrders[h];
            sums.re[h] += v * std::cos(order * theta * kd);
            sums.im[h] += v * std::sin(order * theta * kd);
        }
    }
    const double scale = 2.0 / static_cast<double>(n);
    for (std::size_t h = 0; h < kHarmonicOrders.size(); ++h) {
        sums.re[h] *= scale;
        sums.im[h] *= scale;
    }
}

template <typename Values>
HarmonicSums Sums(std::span<const double> xMs, const Values& y, double frequency, std::size_t point,
                  std::string_view channelId) {
    if (xMs.size() != y.size()) {
        throw std::invalid_argument("time and value columns differ in length");
    }
    if (point >= y.size()) {
        throw std::out_of_range("sample index out of range");
    }
    CheckNominalFrequency(frequency, channelId);
    const double period = (1.0 / frequency) * 1000.0;
    HarmonicSums sums;
    sums.window = LocateWindow(xMs, period, point, channelId);
    if (IsFullWindow(sums.window, y.size())) {
        SumWindow(sums, y);
        if constexpr (std::is_same_v<Values, SampleColumn>) {
            for (std::size_t i = sums.window.end + 1 - sums.window.length;
                 i <= sums.window.end && !sums.overGap; ++i) {
                sums.overGap = y.IsGap(i);
            }
        }
    }
    return sums;
}

}  // namespace

HarmonicSums CalcHarmonicSums(std::span<const double> xMs, std::span<const double> y,
                              double frequency, std::size_t point, std::string_view channelId) {
    return Sums(xMs, y, frequency, point, channelId);
}

HarmonicSums CalcHarmonicSums(std::span<const double> xMs, const SampleColumn& y, double frequency,
                              std::size_t point, std::string_view channelId) {
    return Sums(xMs, y, frequency, point, channelId);
}

HarmonicValues ToCurrentValues(const HarmonicSums& sums) noexcept {
    const auto rms = [&](std::size_t h) {
        return std::sqrt(sums.re[h] * sums.re[h] + sums.im[h] * sums.im[h]) / std::numbers::sqrt2;
    };
    return {rms(0), rms(1), rms(2), rms(3)};
}

double FundamentalAngle(double r1, double i1) noexcept {
    constexpr double kDegrees = 180.0 / std::numbers::pi;
    if (r1 == 0.0 && i1 > 0.0) {
        return 0.0;
    }
    if (r1 == 0.0 && i1 < 0.0) {
        return 180.0;
    }
    if (r1 > 0.0 && i1 == 0.0) {
        return 90.0;
    }
    if (r1 < 0.0 && i1 == 0.0) {
        return 270.0;
    }
    if (r1 == 0.0 && i1 == 0.0) {
        return kUndefinedAngle;
    }
    if (i1 < 0.0) {
        return std::atan(r1 / i1) * kDegrees + 180.0;
    }
    if (r1 < 0.0) {
        // A quotient of the order of the roundoff would give 360 itself.
        const double angle = std::atan(r1 / i1) * kDegrees + 360.0;
        return angle < 360.0 ? angle : 0.0;
    }
    return std::atan(r1 / i1) * kDegrees;
}

double RoundedAngle(double angle, int decimals) noexcept {
    // Rounded exactly as the fixed-point text will be, so the text and the check agree.
    char buffer[400];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, angle, std::chars_format::fixed, decimals);
    double rounded = angle;
    if (ec != std::errc() || std::from_chars(buffer, end, rounded).ec != std::errc()) {
        return angle;
    }
    // Only an angle of the analysis range is wrapped; a formula's angle column may hold others.
    return (angle >= 0.0 && angle < 360.0 && rounded == 360.0) ? 0.0 : rounded;
}

HarmonicValues CalcCurrentValues(std::span<const double> xMs, std::span<const double> y,
                                 double frequency, std::size_t point, double& angle,
                                 std::string_view channelId) {
    const HarmonicSums sums = CalcHarmonicSums(xMs, y, frequency, point, channelId);
    angle = FundamentalAngle(sums.re[0], sums.im[0]);
    return ToCurrentValues(sums);
}

}  // namespace faultscope
