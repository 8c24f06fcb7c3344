#include "gui/views/time_zoom.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace faultscope {

void TimeZoom::Reset(double recordMin, double recordMax) noexcept {
    zmin = recordMin;
    zmax = recordMax;
    areaMin = recordMin;
    areaMax = recordMax;
}

void TimeZoom::AreaResized(double start, double end) noexcept {
    if (start + kMinWidthMs >= end) {
        end = start + kMinWidthMs;
    }
    if (start < zmin) {
        start = zmin;
        end = areaMax;
    }
    if (end > zmax) {
        start = areaMin;
        end = zmax;
    }
    areaMin = start;
    areaMax = end;
}

void TimeZoom::ZoomIn() noexcept {
    const double d = std::fabs(areaMin - areaMax) * 0.1;
    AreaResized(areaMin + d, areaMax - d);
}

void TimeZoom::ZoomOut() noexcept {
    const double d = std::fabs(areaMin - areaMax) * 0.1;
    AreaResized(std::max(areaMin - d, zmin), std::min(areaMax + d, zmax));
}

void TimeZoom::ZoomReset() noexcept {
    AreaResized(zmin, zmax);
}

void TimeZoom::ShowRange(double start, double end) noexcept {
    if (end < start) {
        std::swap(start, end);
    }
    start = std::max(start, zmin);
    end = std::max(std::min(end, zmax), start);
    const double width = std::max(end - start, kMinWidthMs);
    Place(start - (width - (end - start)) / 2.0, width);
}

void TimeZoom::ZoomAbout(double x, double factor) noexcept {
    const double width = areaMax - areaMin;
    if (width <= 0.0 || factor <= 0.0) {
        return;
    }
    const double share = (x - areaMin) / width;
    const double scaled = std::max(width * factor, kMinWidthMs);
    Place(x - share * scaled, scaled);
}

void TimeZoom::Place(double start, double width) noexcept {
    width = std::min(width, zmax - zmin);
    areaMin = std::max(std::min(start, zmax - width), zmin);
    areaMax = areaMin + width;
}

bool TimeZoom::KeepInView(double x) noexcept {
    const double width = areaMax - areaMin;
    const double spare = width / 20.0;
    double shift = 0.0;
    if (x < areaMin + spare) {
        shift = x - spare - areaMin;
    } else if (x > areaMax - spare) {
        shift = x + spare - areaMax;
    }
    shift = std::clamp(shift, zmin - areaMin, zmax - areaMax);
    if (shift == 0.0) {
        return false;
    }
    areaMin += shift;
    areaMax += shift;
    return true;
}

}  // namespace faultscope
