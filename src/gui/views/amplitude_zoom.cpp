#include "gui/views/amplitude_zoom.h"

#include <algorithm>

namespace faultscope {

void AmplitudeZoom::Reset(ValueRange full) noexcept {
    fullMin = full.min;
    fullMax = full.max;
    min = fullMin;
    max = fullMax;
}

void AmplitudeZoom::YZoomIn() noexcept {
    min *= 0.8;
    max *= 0.8;
}

void AmplitudeZoom::YZoomOut() noexcept {
    min *= 1.2;
    max *= 1.2;
    min = std::max(min, fullMin);
    max = std::min(max, fullMax);
}

void AmplitudeZoom::YZoomReset() noexcept {
    min = fullMin;
    max = fullMax;
}

void AmplitudeZoom::YZoomSteps(int steps) noexcept {
    for (; steps > 0; --steps) {
        YZoomIn();
    }
    for (; steps < 0; ++steps) {
        YZoomOut();
    }
}

}  // namespace faultscope
