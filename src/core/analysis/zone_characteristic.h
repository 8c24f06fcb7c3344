#pragma once

#include <QString>
#include <cstddef>
#include <span>
#include <vector>

namespace faultscope {

// The operating zone of a distance relay on the impedance plane (R horizontal, X vertical), as a
// ring of points: one point per tenth of a degree from 0.0 to 359.0 at the zone's radius in that
// direction, and the same ring with every radius enlarged by 5 %.
enum class ZoneType { None = -1, Circle = 0, Ellipse = 1, Polygon = 2 };

struct ZoneParams {
    double zWork = 0.0;         // circle radius; long axis of the ellipse
    double ellipseAngle = 0.0;  // ellipse: direction of the long axis, degrees
    double k = 0.0;             // ellipse: short axis / long axis
    double rpr = 0.0;           // polygon: resistance reach
    double fpr = 0.0;           // polygon: inclination of the right side, degrees
    double xy = 0.0;            // polygon: reactance reach of the top and bottom sides
};

struct ZonePoint {
    double x = 0.0;
    double y = 0.0;

    friend bool operator==(const ZonePoint&, const ZonePoint&) = default;
};

inline constexpr int kZonePointCount = 3591;
inline constexpr double kZoneOffFactor = 1.05;

// The polygon's corner directions in degrees: top right, top left, bottom left, bottom right,
// and where the right side, extended, meets the left side.
struct PolygonAngles {
    double a1 = 0.0;
    double a2 = 0.0;
    double a3 = 0.0;
    double a4 = 0.0;
    double a5 = 0.0;
};

[[nodiscard]] PolygonAngles PolygonCornerAngles(double rpr, double fpr, double xy) noexcept;
// Radius of the zone boundary at `phiDeg` degrees.
[[nodiscard]] double CircleRadius(double zWork) noexcept;
[[nodiscard]] double EllipseRadius(double phiDeg, double zWork, double ellipseAngle,
                                   double k) noexcept;
[[nodiscard]] double PolygonRadius(double phiDeg, const ZoneParams& params,
                                   const PolygonAngles& angles) noexcept;

struct Zone {
    std::vector<ZonePoint> zone;     // the boundary
    std::vector<ZonePoint> zoneOff;  // the boundary with every radius × 1.05
    QString error;                   // why nothing could be drawn; empty when drawn
};

// The rings of the zone; no points for ZoneType::None. Parameters that divide by zero (K = 0,
// Xy = 0, a side parallel to a ray) give no points and a message in `error`.
[[nodiscard]] Zone ComputeZone(ZoneType type, const ZoneParams& params);

// The length the diagram needs to show the zone: √(maxX² + maxY²) of the largest X and the
// largest Y among the points; 0 without points.
[[nodiscard]] double ZoneScale(const std::vector<ZonePoint>& zone) noexcept;

// Whether `p` lies inside the closed outline through `ring` (even-odd rule; the last point joins
// the first). A ring of fewer than three points holds nothing.
[[nodiscard]] bool InsideZone(std::span<const ZonePoint> ring, ZonePoint p) noexcept;

// The positions in `points` of those inside the outline through `ring`.
[[nodiscard]] std::vector<std::size_t> PointsInsideZone(std::span<const ZonePoint> ring,
                                                        std::span<const ZonePoint> points);

}  // namespace faultscope
