#include "core/record/nearest_sample.h"

#include <algorithm>
#include <cmath>

namespace faultscope {

namespace {

std::ptrdiff_t NearestInSorted(std::span<const double> times, std::size_t lo, std::size_t hi,
                               double x) noexcept {
    const auto first = times.begin() + static_cast<std::ptrdiff_t>(lo);
    const auto last = times.begin() + static_cast<std::ptrdiff_t>(hi);
    auto p = std::lower_bound(first, last, x);
    if (p == last) {
        return static_cast<std::ptrdiff_t>(hi) - 1;
    }
    if (p != first && x - *(p - 1) <= *p - x) {
        --p;
    }
    return p - times.begin();
}

std::ptrdiff_t NearestByScan(std::span<const double> times, double x, double viewMin,
                             double viewMax, bool useView) noexcept {
    std::ptrdiff_t best = -1;
    double bestDiff = 0.0;
    for (std::size_t i = 0; i < times.size(); ++i) {
        const double t = times[i];
        if (useView && (t < viewMin || t > viewMax)) {
            continue;
        }
        const double diff = std::fabs(t - x);
        if (best < 0 || diff < bestDiff) {
            best = static_cast<std::ptrdiff_t>(i);
            bestDiff = diff;
        }
    }
    return best;
}

}  // namespace

std::ptrdiff_t NearestSample(std::span<const double> times, bool ascending, double x,
                             double viewMin, double viewMax) noexcept {
    if (times.empty()) {
        return -1;
    }
    if (!ascending) {
        const std::ptrdiff_t inView = NearestByScan(times, x, viewMin, viewMax, true);
        return inView >= 0 ? inView : NearestByScan(times, x, 0, 0, false);
    }
    const auto lo = std::lower_bound(times.begin(), times.end(), viewMin) - times.begin();
    const auto hi = std::upper_bound(times.begin(), times.end(), viewMax) - times.begin();
    if (lo >= hi) {
        return NearestInSorted(times, 0, times.size(), x);
    }
    return NearestInSorted(times, static_cast<std::size_t>(lo), static_cast<std::size_t>(hi), x);
}

std::ptrdiff_t NearestSample(std::span<const double> times, bool ascending, double x) noexcept {
    if (times.empty()) {
        return -1;
    }
    return ascending ? NearestInSorted(times, 0, times.size(), x)
                     : NearestByScan(times, x, 0, 0, false);
}

}  // namespace faultscope
