#pragma once

#include <vector>

namespace faultscope {

// The values at which an axis over [min, max] drawn `length` pixels long gets its labels and
// grid lines: multiples of a step of 1, 2 or 5 times a power of ten, at least `minSpacing`
// pixels apart and no finer than `increment` (when above 0).
std::vector<double> AxisTicks(double min, double max, double length, double minSpacing,
                              double increment = 0.0);

}  // namespace faultscope
