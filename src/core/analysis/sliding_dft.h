#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "core/analysis/harmonics.h"
#include "core/analysis/sliding_maximum.h"

namespace faultscope {

// The one-cycle sums of one window length N, carried from a window to the next one with
//     S_h(e + 1) = exp(-j h θ) · S_h(e) + y[e + 1] − y[e + 1 − N],
// so that a step costs the same whatever N. The rounding errors of the steps add up, so the
// sums are computed afresh from the window after a few thousand steps, and earlier when the
// error they may carry could reach 1e-10 of the largest value in the window (a loud signal
// followed by a quiet one). A window of exact zeros gives exact zeros.
class SlidingDft {
  public:
    SlidingDft(std::span<const double> y, std::size_t length);

    // The normalised sums of the window of `length` samples that ends at sample `end`
    // (length - 1 <= end < y.size()).
    [[nodiscard]] HarmonicSums SumsAt(std::size_t end);

  private:
    static constexpr std::size_t kHarmonics = kHarmonicOrders.size();

    void Recompute(std::size_t end);
    void Step();
    void ZeroSums() noexcept;
    [[nodiscard]] bool IsTrustworthy() const noexcept;
    [[nodiscard]] HarmonicSums Normalised() const noexcept;

    std::span<const double> y_;
    std::size_t length_;
    std::vector<double> cos_;  // cos(mθ), m = 0 … N−1
    std::vector<double> sin_;
    std::array<double, kHarmonics> stepCos_{};  // cos(hθ), sin(hθ) of every harmonic h
    std::array<double, kHarmonics> stepSin_{};
    std::array<double, kHarmonics> re_{};  // unnormalised sums of the window ending at end_
    std::array<double, kHarmonics> im_{};
    std::size_t end_;
    std::size_t stepsSinceRecompute_ = 0;
    std::size_t nonZero_ = 0;    // samples of the window that are not exactly zero
    std::size_t nonFinite_ = 0;  // samples of the window that are infinite or not a number
    double errorBound_ = 0.0;    // in units of the rounding error of one operation
    SlidingMaximum magnitudes_;
};

}  // namespace faultscope
