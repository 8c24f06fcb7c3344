#include "gui/views/amplitude_zoom.h"

#include <algorithm>

namespace faultscope {

void AmplitudeZoom::Reset(ValueRange full) noexcept {
    fMin0 = full.min;
    fMax0 = full.max;
    fMin = fMin0;
    fMax = fMax0;
}

void AmplitudeZoom::YZoomIn() noexcept {
    fMin *= 0.8;
    fMax *= 0.8;
}

void AmplitudeZoom::YZoomOut() noexcept {
    fMin *= 1.2;
    fMax *= 1.2;
    fMin = std::max(fMin, fMin0);
    fMax = std::min(fMax, fMax0);
}

void AmplitudeZoom::YZoomReset() noexcept {
    fMin = fMin0;
    fMax = fMax0;
}

}  // namespace faultscope
