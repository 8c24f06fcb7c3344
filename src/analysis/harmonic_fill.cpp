#include "analysis/harmonic_fill.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>

#include "analysis/harmonics.h"
#include "analysis/sliding_dft_set.h"
#include "record/progress.h"

namespace faultscope {
namespace {

void ResizeColumns(HarmonicColumns& out, HarmonicTraceColumns* trace, std::size_t count) {
    out.Clear();
    out.rms1.resize(count);
    out.rms2.resize(count);
    out.rms3.resize(count);
    out.rms5.resize(count);
    out.angle.resize(count);
    if (trace != nullptr) {
        trace->windowEnd.assign(count, 0);
        trace->re1.assign(count, 0.0);
        trace->im1.assign(count, 0.0);
    }
}

// √(re² + im²) / √2 as a single square root: no division in the loop, and within a few units of
// roundoff of the defining form.
double Rms(const HarmonicSums& sums, std::size_t h) noexcept {
    return std::sqrt(0.5 * (sums.re[h] * sums.re[h] + sums.im[h] * sums.im[h]));
}

void Store(const HarmonicSums& sums, std::size_t i, HarmonicColumns& out,
           HarmonicTraceColumns* trace) {
    out.rms1[i] = Rms(sums, 0);
    out.rms2[i] = Rms(sums, 1);
    out.rms3[i] = Rms(sums, 2);
    out.rms5[i] = Rms(sums, 3);
    out.angle[i] = FundamentalAngle(sums.re[0], sums.im[0]);
    if (trace != nullptr) {
        trace->windowEnd[i] = sums.window.end;
        trace->re1[i] = sums.re[0];
        trace->im1[i] = sums.im[0];
    }
}

}  // namespace

void FillHarmonics(std::span<const double> xMs, std::span<const double> y, double frequency,
                   HarmonicColumns& out, const HarmonicFillOptions& options) {
    if (xMs.size() != y.size()) {
        throw std::invalid_argument("time and value columns differ in length");
    }
    out.Clear();
    CheckNominalFrequency(frequency, options.channelId);
    CheckSampleTimes(xMs, options.channelId);
    const std::size_t count = y.size();
    const double period = (1.0 / frequency) * 1000.0;
    ResizeColumns(out, options.trace, count);
    try {
        SlidingDftSet sliding(y);
        for (std::size_t i = 0; i < count; ++i) {
            const HarmonicWindow window = LocateWindow(xMs, period, i, options.channelId);
            const HarmonicSums sums =
                IsFullWindow(window, count) ? sliding.SumsAt(window) : HarmonicSums{window};
            Store(sums, i, out, options.trace);
            if (options.pump != nullptr) {
                options.pump->Tick(static_cast<std::int64_t>(i + 1));
            }
        }
    } catch (...) {
        // A cancelled load leaves no half-filled columns behind.
        ResizeColumns(out, options.trace, 0);
        throw;
    }
}

}  // namespace faultscope
