#include "core/formula/cmplx_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace faultscope {
namespace {

constexpr double kTolerance = 1e-12;

TEST(CmplxValueTest, NormalizesAngles) {
    struct Case {
        double angle;
        double expected;
    };
    const std::vector<Case> cases{
        {0, 0},
        {359.5, 359.5},
        {360, 0},
        {370, 10},
        {-10, 350},
        {-360, 0},
        {720, 0},
        {10000, 280},
        {-10000, 80},
        {10000.5, kEmptyValue},
        {-10001, kEmptyValue},
        {kEmptyValue, kEmptyValue},
        {NAN, kEmptyValue},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NormalizeAngle(c.angle), c.expected) << c.angle;
    }
}

TEST(CmplxValueTest, TakesTheDirectionFromRectangularForm) {
    struct Case {
        double re;
        double im;
        double angle;
        double modul;
    };
    const std::vector<Case> cases{
        {1, 0, 0, 1},
        {0, 2, 90, 2},
        {0, -2, 270, 2},
        {-1, 0, 180, 1},
        {1, 1, 45, std::sqrt(2.0)},
        {-1, 1, 135, std::sqrt(2.0)},
        {-1, -1, 225, std::sqrt(2.0)},
        {1, -1, 315, std::sqrt(2.0)},
        {3, 4, std::atan2(4.0, 3.0) * 180 / M_PI, 5},
    };
    for (const Case& c : cases) {
        const TCmplxValue v = TCmplxValue::FromRect(c.re, c.im);
        EXPECT_NEAR(v.fAngle, c.angle, kTolerance) << c.re << ", " << c.im;
        EXPECT_NEAR(v.Modul, c.modul, kTolerance) << c.re << ", " << c.im;
        EXPECT_EQ(v.Re, c.re);
        EXPECT_EQ(v.Im, c.im);
    }
    const TCmplxValue zero = TCmplxValue::FromRect(0, 0);
    EXPECT_EQ(zero.Modul, 0.0);
    EXPECT_EQ(zero.fAngle, kEmptyValue);
}

TEST(CmplxValueTest, BuildsFromPolarForm) {
    const TCmplxValue v = TCmplxValue::FromPolar(2, 450);
    EXPECT_EQ(v.fAngle, 90.0);
    EXPECT_NEAR(v.Re, 0.0, kTolerance);
    EXPECT_NEAR(v.Im, 2.0, kTolerance);

    const TCmplxValue wild = TCmplxValue::FromPolar(2, 20000);
    EXPECT_EQ(wild.fAngle, kEmptyValue);
    EXPECT_EQ(wild.Re, kEmptyValue);
    EXPECT_EQ(wild.Im, kEmptyValue);

    const TCmplxValue empty = TCmplxValue::FromPolar(kEmptyValue, 10);
    EXPECT_EQ(empty.Re, kEmptyValue);
    EXPECT_EQ(empty.Im, kEmptyValue);
    EXPECT_EQ(v.FormatModul, "%.2f");
    EXPECT_EQ(v.FormatAngle, "%.0f");
}

// A dead channel has modulus 0 and the undefined angle 65535: it must add nothing.
TEST(CmplxValueTest, TreatsAZeroModulusAsTheZeroPhasor) {
    const TCmplxValue dead = TCmplxValue::FromPolar(0, 65535);
    EXPECT_EQ(dead.Re, 0.0);
    EXPECT_EQ(dead.Im, 0.0);
    EXPECT_EQ(dead.fAngle, 0.0);
    const TCmplxValue sum = TCmplxValue::FromPolar(10, 30) + dead;
    EXPECT_NEAR(sum.Modul, 10.0, kTolerance);
    EXPECT_NEAR(sum.fAngle, 30.0, kTolerance);
}

TEST(CmplxValueTest, AddsAndMultipliesPhasors) {
    const TCmplxValue sum = TCmplxValue::FromPolar(1, 0) + TCmplxValue::FromPolar(1, 90);
    EXPECT_NEAR(sum.Modul, std::sqrt(2.0), kTolerance);
    EXPECT_NEAR(sum.fAngle, 45.0, kTolerance);

    const TCmplxValue product =
        TCmplxValue::FromPolar(3, 350).ThirdOfProduct(TCmplxValue::FromPolar(2, 20));
    EXPECT_NEAR(product.Modul, 2.0, kTolerance);
    EXPECT_NEAR(product.fAngle, 10.0, kTolerance);
    EXPECT_NEAR(product.Re, 2 * std::cos(10 * M_PI / 180), kTolerance);
    EXPECT_NEAR(product.Im, 2 * std::sin(10 * M_PI / 180), kTolerance);

    // A zero factor (no compensation) has an empty angle; the product is still plain zero.
    const TCmplxValue none =
        TCmplxValue::FromPolar(3, 10).ThirdOfProduct(TCmplxValue::FromRect(0, 0));
    EXPECT_EQ(none.Re, 0.0);
    EXPECT_EQ(none.Im, 0.0);
    EXPECT_EQ(none.Modul, 0.0);
}

}  // namespace
}  // namespace faultscope
