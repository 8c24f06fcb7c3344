#include "core/analysis/sliding_dft.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace faultscope {
namespace {

constexpr std::size_t kNoWindow = std::numeric_limits<std::size_t>::max();

// A fresh computation at least this often, whatever the error bound says.
constexpr std::size_t kMaxSteps = 4096;

// One step rounds each sum by at most about 8 units of roundoff of (|S| + |in| + |out|), and
// |S| <= N · max. Normalised by 2 / N, the error stays below 1e-10 · max while the bound,
// counted in those units, stays below this budget times N · max.
constexpr double kErrorBudget = 1e-10 / (2.0 * 8.0 * std::numeric_limits<double>::epsilon() / 2.0);

// Infinite and not-a-number samples count as infinitely large.
double Magnitude(double v) noexcept {
    return std::isfinite(v) ? std::fabs(v) : std::numeric_limits<double>::infinity();
}

}  // namespace

SlidingDft::SlidingDft(std::span<const double> y, std::size_t length)
    : y_(y), length_(length), cos_(length), sin_(length), end_(kNoWindow), magnitudes_(length) {
    const double theta = (360.0 / static_cast<double>(length)) * (std::numbers::pi / 180.0);
    for (std::size_t m = 0; m < length; ++m) {
        cos_[m] = std::cos(static_cast<double>(m) * theta);
        sin_[m] = std::sin(static_cast<double>(m) * theta);
    }
    for (std::size_t h = 0; h < kHarmonics; ++h) {
        stepCos_[h] = std::cos(kHarmonicOrders[h] * theta);
        stepSin_[h] = std::sin(kHarmonicOrders[h] * theta);
    }
}

HarmonicSums SlidingDft::SumsAt(std::size_t end) {
    if (end != end_) {
        if (end_ != kNoWindow && end > end_ && end - end_ < length_) {
            while (end_ < end) {
                Step();
            }
        } else {
            Recompute(end);
        }
        if (nonZero_ == 0) {
            ZeroSums();
        } else if (!IsTrustworthy()) {
            Recompute(end);
        }
    }
    return Normalised();
}

void SlidingDft::Recompute(std::size_t end) {
    const std::size_t first = end + 1 - length_;
    std::array<std::size_t, kHarmonics> phase{};
    std::array<std::size_t, kHarmonics> advance{};
    for (std::size_t h = 0; h < kHarmonics; ++h) {
        advance[h] = static_cast<std::size_t>(kHarmonicOrders[h]) % length_;
    }
    re_.fill(0.0);
    im_.fill(0.0);
    nonZero_ = 0;
    nonFinite_ = 0;
    magnitudes_.Clear();
    for (std::size_t i = first; i <= end; ++i) {
        const double v = y_[i];
        // Position k of the window has the phase h·k·θ, taken modulo the full turn N·θ.
        for (std::size_t h = 0; h < kHarmonics; ++h) {
            phase[h] += advance[h];
            phase[h] -= phase[h] >= length_ ? length_ : 0;
            re_[h] += v * cos_[phase[h]];
            im_[h] += v * sin_[phase[h]];
        }
        nonZero_ += v != 0.0 ? 1 : 0;
        nonFinite_ += std::isfinite(v) ? 0 : 1;
        magnitudes_.Push(i, Magnitude(v));
    }
    end_ = end;
    stepsSinceRecompute_ = 0;
    errorBound_ = static_cast<double>(length_) * magnitudes_.Max();
}

void SlidingDft::Step() {
    const std::size_t end = end_ + 1;
    const double in = y_[end];
    const double out = y_[end - length_];
    const double change = in - out;
    for (std::size_t h = 0; h < kHarmonics; ++h) {
        const double re = re_[h] * stepCos_[h] + im_[h] * stepSin_[h] + change;
        const double im = im_[h] * stepCos_[h] - re_[h] * stepSin_[h];
        re_[h] = re;
        im_[h] = im;
    }
    nonZero_ += in != 0.0 ? 1 : 0;
    nonZero_ -= out != 0.0 ? 1 : 0;
    nonFinite_ += std::isfinite(in) ? 0 : 1;
    nonFinite_ -= std::isfinite(out) ? 0 : 1;
    magnitudes_.Push(end, Magnitude(in));
    errorBound_ +=
        static_cast<double>(length_) * magnitudes_.Max() + Magnitude(in) + Magnitude(out);
    end_ = end;
    ++stepsSinceRecompute_;
}

void SlidingDft::ZeroSums() noexcept {
    re_.fill(0.0);
    im_.fill(0.0);
    stepsSinceRecompute_ = 0;
    errorBound_ = 0.0;
}

bool SlidingDft::IsTrustworthy() const noexcept {
    // Written so that a bound that is not a number fails too.
    return nonFinite_ == 0 && stepsSinceRecompute_ <= kMaxSteps &&
           errorBound_ <= kErrorBudget * static_cast<double>(length_) * magnitudes_.Max();
}

HarmonicSums SlidingDft::Normalised() const noexcept {
    HarmonicSums sums;
    sums.window = {end_, length_};
    const double scale = 2.0 / static_cast<double>(length_);
    for (std::size_t h = 0; h < kHarmonics; ++h) {
        sums.re[h] = re_[h] * scale;
        sums.im[h] = im_[h] * scale;
    }
    return sums;
}

}  // namespace faultscope
