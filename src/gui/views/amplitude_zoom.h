#pragma once

#include "core/record/channel_data.h"

namespace faultscope {

// The common value range of all analog strips and its zoom, which scales both bounds about 0.
struct AmplitudeZoom {
    double min = 0.0;
    double max = 0.0;
    double fullMin = 0.0;  // the full range: the limit of zooming out
    double fullMax = 0.0;

    void Reset(ValueRange full) noexcept;
    void YZoomIn() noexcept;
    void YZoomOut() noexcept;
    void YZoomReset() noexcept;
    // YZoomIn `steps` times, or YZoomOut when `steps` is negative.
    void YZoomSteps(int steps) noexcept;
};

}  // namespace faultscope
