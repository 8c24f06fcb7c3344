#include "gui/chart/axis_ticks.h"

#include <algorithm>
#include <cmath>

namespace faultscope {
namespace {

constexpr std::size_t kMaxTicks = 1000;

// The smallest step of 1, 2 or 5 times a power of ten that is not below `least`.
double NiceStep(double least) {
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= least * (1.0 - 1e-12)) {
            return factor * power;
        }
    }
    return 10.0 * power;
}

}  // namespace

std::vector<double> AxisTicks(double min, double max, double length, double minSpacing,
                              double increment) {
    std::vector<double> ticks;
    if (!std::isfinite(min) || !std::isfinite(max) || !(max > min) || !(length > 0.0)) {
        return ticks;
    }
    double least = (max - min) * std::max(minSpacing, 1.0) / length;
    if (increment > 0.0) {
        least = std::max(least, increment);
    }
    const double step = NiceStep(least);
    const double first = std::ceil(min / step - 1e-9) * step;
    for (std::size_t i = 0; i < kMaxTicks; ++i) {
        double value = first + static_cast<double>(i) * step;
        if (value > max + step * 1e-9) {
            break;
        }
        if (std::abs(value) < step * 1e-9) {
            value = 0.0;
        }
        ticks.push_back(value);
    }
    return ticks;
}

}  // namespace faultscope
