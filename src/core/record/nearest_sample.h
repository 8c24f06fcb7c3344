#pragma once

#include <cstddef>
#include <span>

namespace faultscope {

// Index of the sample whose time is nearest to `x` among the samples inside [viewMin, viewMax]
// (all samples when none lies inside); the earlier sample wins a tie. -1 for no samples.
// `ascending` says that `times` never decreases, which allows a binary search.
std::ptrdiff_t NearestSample(std::span<const double> times, bool ascending, double x,
                             double viewMin, double viewMax) noexcept;

// The same over every sample of the record.
std::ptrdiff_t NearestSample(std::span<const double> times, bool ascending, double x) noexcept;

}  // namespace faultscope
