#include "core/formula/complex_value.h"

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
        double modulus;
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
        const ComplexValue v = ComplexValue::FromRect(c.re, c.im);
        EXPECT_NEAR(v.angle, c.angle, kTolerance) << c.re << ", " << c.im;
        EXPECT_NEAR(v.Modulus, c.modulus, kTolerance) << c.re << ", " << c.im;
        EXPECT_EQ(v.Re, c.re);
        EXPECT_EQ(v.Im, c.im);
    }
    const ComplexValue zero = ComplexValue::FromRect(0, 0);
    EXPECT_EQ(zero.Modulus, 0.0);
    EXPECT_EQ(zero.angle, kEmptyValue);
}

TEST(CmplxValueTest, BuildsFromPolarForm) {
    const ComplexValue v = ComplexValue::FromPolar(2, 450);
    EXPECT_EQ(v.angle, 90.0);
    EXPECT_NEAR(v.Re, 0.0, kTolerance);
    EXPECT_NEAR(v.Im, 2.0, kTolerance);

    const ComplexValue wild = ComplexValue::FromPolar(2, 20000);
    EXPECT_EQ(wild.angle, kEmptyValue);
    EXPECT_EQ(wild.Re, kEmptyValue);
    EXPECT_EQ(wild.Im, kEmptyValue);

    const ComplexValue empty = ComplexValue::FromPolar(kEmptyValue, 10);
    EXPECT_EQ(empty.Re, kEmptyValue);
    EXPECT_EQ(empty.Im, kEmptyValue);
    EXPECT_EQ(v.FormatModulus, "%.2f");
    EXPECT_EQ(v.FormatAngle, "%.0f");
}

// A dead channel has modulus 0 and the undefined angle 65535: it must add nothing.
TEST(CmplxValueTest, TreatsAZeroModulusAsTheZeroPhasor) {
    const ComplexValue dead = ComplexValue::FromPolar(0, 65535);
    EXPECT_EQ(dead.Re, 0.0);
    EXPECT_EQ(dead.Im, 0.0);
    EXPECT_EQ(dead.angle, 0.0);
    const ComplexValue sum = ComplexValue::FromPolar(10, 30) + dead;
    EXPECT_NEAR(sum.Modulus, 10.0, kTolerance);
    EXPECT_NEAR(sum.angle, 30.0, kTolerance);
}

TEST(CmplxValueTest, AddsAndMultipliesPhasors) {
    const ComplexValue sum = ComplexValue::FromPolar(1, 0) + ComplexValue::FromPolar(1, 90);
    EXPECT_NEAR(sum.Modulus, std::sqrt(2.0), kTolerance);
    EXPECT_NEAR(sum.angle, 45.0, kTolerance);

    const ComplexValue product =
        ComplexValue::FromPolar(3, 350).ThirdOfProduct(ComplexValue::FromPolar(2, 20));
    EXPECT_NEAR(product.Modulus, 2.0, kTolerance);
    EXPECT_NEAR(product.angle, 10.0, kTolerance);
    EXPECT_NEAR(product.Re, 2 * std::cos(10 * M_PI / 180), kTolerance);
    EXPECT_NEAR(product.Im, 2 * std::sin(10 * M_PI / 180), kTolerance);

    // A zero factor (no compensation) has an empty angle; the product is still plain zero.
    const ComplexValue none =
        ComplexValue::FromPolar(3, 10).ThirdOfProduct(ComplexValue::FromRect(0, 0));
    EXPECT_EQ(none.Re, 0.0);
    EXPECT_EQ(none.Im, 0.0);
    EXPECT_EQ(none.Modulus, 0.0);
}

}  // namespace
}  // namespace faultscope
