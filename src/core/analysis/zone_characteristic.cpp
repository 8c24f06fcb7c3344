#include "core/analysis/zone_characteristic.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace faultscope {
namespace {

constexpr double kToRad = std::numbers::pi / 180.0;
constexpr double kToDeg = 180.0 / std::numbers::pi;

double AtanDeg(double value) noexcept {
    return std::atan(value) * kToDeg;
}

// The side of the polygon that the ray at `phi` meets, by the corner angles.
enum class Side { Top, Left, Bottom, Right };

Side PolygonSide(double phi, const PolygonAngles& a) noexcept {
    if (a.a1 <= phi && phi < a.a2) {
        return Side::Top;
    }
    if (phi >= a.a2) {
        if (phi < a.a3 && a.a3 < a.a4) {
            return Side::Left;
        }
        if (phi < a.a5 && a.a3 >= a.a4) {
            return Side::Left;
        }
    }
    if (a.a3 <= phi && phi < a.a4) {
        return Side::Bottom;
    }
    return Side::Right;
}

}  // namespace

PolygonAngles PolygonCornerAngles(double rpr, double fpr, double xy) noexcept {
    const double tanF = std::tan(fpr * kToRad);
    const double s = fpr > 0.0 && fpr < 90.0 ? xy / tanF : 0.0;
    PolygonAngles a;
    a.a1 = rpr + s == 0.0 ? 0.0 : AtanDeg(xy / (rpr + s));
    a.a2 = xy == 0.0 ? 90.0 : 90.0 + AtanDeg(rpr / (2.0 * xy));
    a.a3 = 360.0 - a.a2;
    const double b = rpr - s;
    if (b > 0.0) {
        a.a4 = 270.0 + AtanDeg(b / xy);
    } else if (b == 0.0) {
        a.a4 = 270.0;
    } else {
        a.a4 = 270.0 - AtanDeg(std::abs(b / xy));
    }
    a.a5 = 270.0 + AtanDeg(-1.0 / (3.0 * tanF));
    return a;
}

double CircleRadius(double zWork) noexcept {
    return zWork;
}

double EllipseRadius(double phiDeg, double zWork, double ellipseAngle, double k) noexcept {
    const double theta = (phiDeg - ellipseAngle) * kToRad;
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    const double d = c * c + s * s / (k * k);
    return std::max(zWork * c / d, 0.0);
}

double PolygonRadius(double phiDeg, const ZoneParams& p, const PolygonAngles& angles) noexcept {
    const double phi = phiDeg * kToRad;
    switch (PolygonSide(phiDeg, angles)) {
        case Side::Top:
            return p.xy / std::sin(phi);
        case Side::Left:
            return std::abs(p.rpr / (2.0 * std::cos(std::numbers::pi - phi)));
        case Side::Bottom:
            return std::abs(p.xy / std::sin(phi));
        case Side::Right:
            break;
    }
    const double tanF = std::tan(p.fpr * kToRad);
    return p.rpr * tanF / (tanF * std::cos(phi) - std::sin(phi));
}

Zone ComputeZone(ZoneType type, const ZoneParams& params) {
    Zone result;
    if (type == ZoneType::None) {
        return result;
    }
    if (type == ZoneType::Ellipse && params.k == 0.0) {
        result.error = QStringLiteral("Эллиптическая характеристика: K не может быть равен 0");
        return result;
    }
    if (type == ZoneType::Polygon && params.xy == 0.0) {
        result.error = QStringLiteral("Полигональная характеристика: Xy не может быть равен 0");
        return result;
    }
    const PolygonAngles angles = PolygonCornerAngles(params.rpr, params.fpr, params.xy);
    result.zone.reserve(kZonePointCount);
    result.zoneOff.reserve(kZonePointCount);
    for (int i = 0; i < kZonePointCount; ++i) {
        const double phi = i / 10.0;
        double rho = 0.0;
        switch (type) {
            case ZoneType::Circle:
                rho = CircleRadius(params.zWork);
                break;
            case ZoneType::Ellipse:
                rho = EllipseRadius(phi, params.zWork, params.ellipseAngle, params.k);
                break;
            default:
                rho = PolygonRadius(phi, params, angles);
                break;
        }
        if (!std::isfinite(rho)) {
            result = Zone{};
            result.error = QStringLiteral(
                "Полигональная характеристика не строится: сторона параллельна лучу (деление на "
                "ноль). Измените Rпр, Фпр или Xy");
            return result;
        }
        const double c = std::cos(phi * kToRad);
        const double s = std::sin(phi * kToRad);
        result.zone.push_back({rho * c, rho * s});
        result.zoneOff.push_back({kZoneOffFactor * rho * c, kZoneOffFactor * rho * s});
    }
    return result;
}

double ZoneScale(const std::vector<ZonePoint>& zone) noexcept {
    if (zone.empty()) {
        return 0.0;
    }
    double maxX = zone.front().x;
    double maxY = zone.front().y;
    for (const ZonePoint& p : zone) {
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
    return std::sqrt(maxX * maxX + maxY * maxY);
}

bool InsideZone(std::span<const ZonePoint> ring, ZonePoint p) noexcept {
    if (ring.size() < 3) {
        return false;
    }
    bool inside = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const ZonePoint& a = ring[i];
        const ZonePoint& b = ring[j];
        // Each edge that straddles the horizontal line through p and crosses it right of p.
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

std::vector<std::size_t> PointsInsideZone(std::span<const ZonePoint> ring,
                                          std::span<const ZonePoint> points) {
    std::vector<std::size_t> inside;
    for (std::size_t k = 0; k < points.size(); ++k) {
        if (InsideZone(ring, points[k])) {
            inside.push_back(k);
        }
    }
    return inside;
}

}  // namespace faultscope
