#include "core/analysis/harmonic_fill.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>

#include "core/analysis/sliding_dft_set.h"
#include "core/record/progress.h"

namespace faultscope {
namespace {

// The columns one fill writes: any of the drawing columns, the fundamental in double and the
// trace.
struct FillTargets {
    HarmonicColumns* drawing = nullptr;
    FundamentalColumns* fundamental = nullptr;
    HarmonicTraceColumns* trace = nullptr;
};

void ResizeColumns(const FillTargets& to, std::size_t count) {
    if (to.drawing != nullptr) {
        to.drawing->Clear();
        to.drawing->rms1.resize(count);
        to.drawing->rms2.resize(count);
        to.drawing->rms3.resize(count);
        to.drawing->rms5.resize(count);
        to.drawing->angle.resize(count);
    }
    if (to.fundamental != nullptr) {
        to.fundamental->rms.assign(count, 0.0);
        to.fundamental->angle.assign(count, 0.0);
    }
    if (to.trace != nullptr) {
        to.trace->windowEnd.assign(count, 0);
        to.trace->re1.assign(count, 0.0);
        to.trace->im1.assign(count, 0.0);
    }
}

void Store(const HarmonicSums& sums, std::size_t i, const FillTargets& to) {
    const auto rms = [&sums](std::size_t k) {
        return sums.overGap ? std::numeric_limits<double>::quiet_NaN() : HarmonicRms(sums, k);
    };
    const double rms1 = rms(0);
    const double angle = sums.overGap ? kUndefinedAngle : FundamentalAngle(sums.re[0], sums.im[0]);
    if (to.drawing != nullptr) {
        HarmonicColumns& out = *to.drawing;
        out.rms1[i] = DrawingValue(rms1);
        out.rms2[i] = DrawingValue(rms(1));
        out.rms3[i] = DrawingValue(rms(2));
        out.rms5[i] = DrawingValue(rms(3));
        out.angle[i] = DrawingAngle(angle);
    }
    if (to.fundamental != nullptr) {
        to.fundamental->rms[i] = rms1;
        to.fundamental->angle[i] = angle;
    }
    if (to.trace != nullptr) {
        to.trace->windowEnd[i] = sums.window.end;
        to.trace->re1[i] = sums.re[0];
        to.trace->im1[i] = sums.im[0];
    }
}

void CheckInput(std::span<const double> xMs, std::span<const double> y, double frequency,
                std::string_view channelId) {
    if (xMs.size() != y.size()) {
        throw std::invalid_argument("time and value columns differ in length");
    }
    CheckNominalFrequency(frequency, channelId);
    CheckSampleTimes(xMs, channelId);
}

// The sliding analysis of every sample in order, each sample's sums handed to `visit`; the input
// is checked already.
template <typename Visit>
void Slide(std::span<const double> xMs, std::span<const double> y, double frequency,
           std::string_view channelId, ProgressPump* pump, std::span<const std::size_t> gaps,
           const Visit& visit) {
    const std::size_t count = y.size();
    const double period = (1.0 / frequency) * 1000.0;
    SlidingDftSet sliding(y);
    for (std::size_t i = 0; i < count; ++i) {
        const HarmonicWindow window = LocateWindow(xMs, period, i, channelId);
        HarmonicSums sums =
            IsFullWindow(window, count) ? sliding.SumsAt(window) : HarmonicSums{window};
        if (!gaps.empty() && window.length > 0) {
            const auto next = std::ranges::lower_bound(gaps, window.end + 1 - window.length);
            sums.overGap = next != gaps.end() && *next <= window.end;
        }
        visit(i, sums);
        if (pump != nullptr) {
            pump->Tick(static_cast<std::int64_t>(i + 1));
        }
    }
}

void Fill(std::span<const double> xMs, std::span<const double> y, double frequency,
          const FillTargets& to, const HarmonicFillOptions& options) {
    ResizeColumns(to, 0);
    CheckInput(xMs, y, frequency, options.channelId);
    ResizeColumns(to, y.size());
    try {
        Slide(xMs, y, frequency, options.channelId, options.pump, options.gapSamples,
              [&to](std::size_t i, const HarmonicSums& sums) { Store(sums, i, to); });
    } catch (...) {
        // A cancelled load leaves no half-filled columns behind.
        ResizeColumns(to, 0);
        throw;
    }
}

}  // namespace

// √(re² + im²) / √2 as a single square root: no division in the loop, and within a few units of
// roundoff of the defining form.
double HarmonicRms(const HarmonicSums& sums, std::size_t k) noexcept {
    return std::sqrt(0.5 * (sums.re[k] * sums.re[k] + sums.im[k] * sums.im[k]));
}

void CheckHarmonicAnalysis(std::span<const double> xMs, double frequency,
                           std::string_view channelId) {
    CheckNominalFrequency(frequency, channelId);
    CheckSampleTimes(xMs, channelId);
    const double period = (1.0 / frequency) * 1000.0;
    for (std::size_t i = 0; i < xMs.size(); ++i) {
        static_cast<void>(LocateWindow(xMs, period, i, channelId));
    }
}

void VisitHarmonicSums(std::span<const double> xMs, std::span<const double> y, double frequency,
                       const HarmonicSumsVisitor& visit, std::string_view channelId,
                       ProgressPump* pump, std::span<const std::size_t> gapSamples) {
    CheckInput(xMs, y, frequency, channelId);
    Slide(xMs, y, frequency, channelId, pump, gapSamples, visit);
}

std::vector<std::size_t> GapSamples(const SampleColumn& column) {
    std::vector<std::size_t> gaps;
    if (column.HasNoGapFlags()) {
        return gaps;
    }
    for (std::size_t i = 0; i < column.size(); ++i) {
        if (column.IsGap(i)) {
            gaps.push_back(i);
        }
    }
    return gaps;
}

void FillHarmonics(std::span<const double> xMs, std::span<const double> y, double frequency,
                   HarmonicColumns& out, const HarmonicFillOptions& options) {
    Fill(xMs, y, frequency, {&out, options.fundamental, options.trace}, options);
}

void FillFundamental(std::span<const double> xMs, std::span<const double> y, double frequency,
                     FundamentalColumns& out, const HarmonicFillOptions& options) {
    Fill(xMs, y, frequency, {nullptr, &out, options.trace}, options);
}

float DrawingValue(double value) noexcept {
    constexpr double kLargest = std::numeric_limits<float>::max();
    return static_cast<float>(std::isnan(value) ? value : std::clamp(value, -kLargest, kLargest));
}

float DrawingAngle(double angle) noexcept {
    if (angle == kUndefinedAngle) {
        return static_cast<float>(kUndefinedAngle);
    }
    const float rounded = static_cast<float>(angle);
    return rounded >= 360.0F ? 0.0F : rounded;
}

}  // namespace faultscope
