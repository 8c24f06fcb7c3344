#include "core/analysis/zone_characteristic.h"

#include <gtest/gtest.h>
#include <cmath>
#include <numbers>

namespace faultscope {
namespace {

// The point of a ring at `phiDeg`: rings hold one point per tenth of a degree from 0.
ZonePoint At(const std::vector<ZonePoint>& ring, double phiDeg) {
    return ring.at(static_cast<std::size_t>(std::lround(phiDeg * 10.0)));
}

void ExpectPoint(const ZonePoint& p, double x, double y) {
    EXPECT_NEAR(p.x, x, 1e-9);
    EXPECT_NEAR(p.y, y, 1e-9);
}

TEST(ZoneCharacteristic, ACircleIsARingOf3591PointsWithAFivePercentLargerTwin) {
    const Zone zone = ComputeZone(ZoneType::Circle, {.zWork = 10.0});
    ASSERT_EQ(zone.zone.size(), 3591u);
    ASSERT_EQ(zone.zoneOff.size(), 3591u);
    EXPECT_TRUE(zone.error.isEmpty());
    for (std::size_t i = 0; i < zone.zone.size(); ++i) {
        EXPECT_NEAR(std::hypot(zone.zone[i].x, zone.zone[i].y), 10.0, 1e-9);
        EXPECT_NEAR(std::hypot(zone.zoneOff[i].x, zone.zoneOff[i].y), 10.5, 1e-9);
    }
    ExpectPoint(zone.zone.front(), 10.0, 0.0);
    // The last point stands at 359.0 degrees: the last degree before a full turn has none.
    const double last = 359.0 * std::numbers::pi / 180.0;
    ExpectPoint(zone.zone.back(), 10.0 * std::cos(last), 10.0 * std::sin(last));
    EXPECT_NEAR(ZoneScale(zone.zone), 10.0 * std::sqrt(2.0), 1e-9);
    EXPECT_EQ(ZoneScale({}), 0.0);
    EXPECT_TRUE(ComputeZone(ZoneType::None, {.zWork = 10.0}).zone.empty());
}

TEST(ZoneCharacteristic, AnEllipseWithKOneIsTheCircleThroughTheOrigin) {
    const Zone zone =
        ComputeZone(ZoneType::Ellipse, {.zWork = 10.0, .ellipseAngle = 0.0, .k = 1.0});
    ExpectPoint(At(zone.zone, 0.0), 10.0, 0.0);
    ExpectPoint(At(zone.zone, 60.0), 2.5, 5.0 * std::sin(std::numbers::pi / 3.0));
    for (const double phi : {90.1, 135.0, 180.0, 269.9}) {
        ExpectPoint(At(zone.zone, phi), 0.0, 0.0);
    }
    // A long axis at 90 degrees, half as wide: the tip at (0, 10), and at 45 degrees
    // rho = 10 cos45 / (cos²45 + sin²45 / 0.25).
    const Zone tall =
        ComputeZone(ZoneType::Ellipse, {.zWork = 10.0, .ellipseAngle = 90.0, .k = 0.5});
    ExpectPoint(At(tall.zone, 90.0), 0.0, 10.0);
    const double rho = 10.0 * std::cos(std::numbers::pi / 4.0) / 2.5;
    ExpectPoint(At(tall.zone, 135.0), -rho * std::cos(std::numbers::pi / 4.0),
                rho * std::sin(std::numbers::pi / 4.0));
}

TEST(ZoneCharacteristic, APolygonMeetsItsFourSidesAtTheHandComputedCorners) {
    const ZoneParams params{.rpr = 10.0, .fpr = 60.0, .xy = 10.0};
    const PolygonAngles a = PolygonCornerAngles(10.0, 60.0, 10.0);
    EXPECT_NEAR(a.a1, 32.37366, 1e-4);
    EXPECT_NEAR(a.a2, 116.5651, 1e-4);
    EXPECT_NEAR(a.a3, 243.4349, 1e-4);
    EXPECT_NEAR(a.a4, 292.91134, 1e-4);
    const Zone zone = ComputeZone(ZoneType::Polygon, params);
    ASSERT_EQ(zone.zone.size(), 3591u);
    ExpectPoint(At(zone.zone, 0.0), 10.0, 0.0);     // right side through (Rпр, 0)
    ExpectPoint(At(zone.zone, 90.0), 0.0, 10.0);    // top side X = Xy
    ExpectPoint(At(zone.zone, 180.0), -5.0, 0.0);   // left side R = -Rпр / 2
    ExpectPoint(At(zone.zone, 270.0), 0.0, -10.0);  // bottom side X = -Xy
    // The right side at 60 degrees through (10, 0) meets the ray at 300 degrees at (5, -8.66).
    ExpectPoint(At(zone.zone, 300.0), 5.0, -5.0 * std::sqrt(3.0));
    ExpectPoint(At(zone.zoneOff, 300.0), 5.25, -5.25 * std::sqrt(3.0));
    // Corners: the top right one lies on both the top and the right side.
    const double s = 10.0 / std::tan(std::numbers::pi / 3.0);
    EXPECT_NEAR(std::atan2(10.0, 10.0 + s) * 180.0 / std::numbers::pi, a.a1, 1e-9);
    // Outside (0, 90) the corners take s = 0.
    EXPECT_NEAR(PolygonCornerAngles(10.0, 90.0, 10.0).a1, 45.0, 1e-9);
}

TEST(ZoneCharacteristic, DivisionsByZeroGiveAMessageAndNoPoints) {
    const struct {
        ZoneType type;
        ZoneParams params;
    } cases[] = {
        {ZoneType::Ellipse, {.zWork = 10.0, .k = 0.0}},
        {ZoneType::Polygon, {.rpr = 10.0, .fpr = 60.0, .xy = 0.0}},
        {ZoneType::Polygon, {.rpr = 10.0, .fpr = 0.0, .xy = 10.0}},  // 0 / 0 on the right side
    };
    for (const auto& c : cases) {
        const Zone zone = ComputeZone(c.type, c.params);
        EXPECT_TRUE(zone.zone.empty());
        EXPECT_TRUE(zone.zoneOff.empty());
        EXPECT_FALSE(zone.error.isEmpty());
    }
}

}  // namespace
}  // namespace faultscope

namespace faultscope {
namespace {

TEST(ZoneCharacteristic, PointsInsideAZoneAreFoundByItsOutline) {
    const Zone circle = ComputeZone(ZoneType::Circle, {.zWork = 10.0});
    const std::vector<ZonePoint> square = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    struct Case {
        const std::vector<ZonePoint>* ring;
        ZonePoint point;
        bool inside;
    };
    const std::vector<Case> cases = {
        {&circle.zone, {0, 0}, true},        {&circle.zone, {6, 7.9}, true},
        {&circle.zone, {6, 8.1}, false},     {&circle.zone, {-10.1, 0}, false},
        {&circle.zoneOff, {-10.4, 0}, true}, {&square, {2, 2}, true},
        {&square, {4.01, 2}, false},         {&square, {2, -0.01}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InsideZone(*c.ring, c.point), c.inside) << c.point.x << ", " << c.point.y;
    }
    const std::vector<ZonePoint> path = {{20, 20}, {9, 9}, {3, 3}, {-1, 2}, {2, 1}};
    EXPECT_EQ(PointsInsideZone(square, path), (std::vector<std::size_t>{2, 4}));
    EXPECT_TRUE(PointsInsideZone(std::vector<ZonePoint>{{0, 0}, {4, 4}}, path).empty());
}

}  // namespace
}  // namespace faultscope
