#include "core/formula/complex_value.h"

#include <cmath>
#include <numbers>

namespace faultscope {
namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

double DirectionDegrees(double re, double im) noexcept {
    if (re == 0.0) {
        return im > 0.0 ? 90.0 : -90.0;
    }
    if (im == 0.0) {
        return re > 0.0 ? 0.0 : 180.0;
    }
    double angle = std::atan(im / re) * kDegreesPerRadian;
    if (re < 0.0) {
        angle += im > 0.0 ? 180.0 : -180.0;
    }
    return angle;
}

}  // namespace

double NormalizeAngle(double degrees) noexcept {
    if (!(degrees >= -10000.0 && degrees <= 10000.0)) {
        return kEmptyValue;
    }
    while (degrees < 0.0) {
        degrees += 360.0;
    }
    while (degrees >= 360.0) {
        degrees -= 360.0;
    }
    return degrees;
}

ComplexValue ComplexValue::FromRect(double re, double im) noexcept {
    ComplexValue value;
    value.Re = re;
    value.Im = im;
    value.Modulus = std::sqrt(re * re + im * im);
    value.angle = re == 0.0 && im == 0.0 ? kEmptyValue : NormalizeAngle(DirectionDegrees(re, im));
    return value;
}

ComplexValue ComplexValue::FromPolar(double modulus, double angle) noexcept {
    ComplexValue value;
    if (modulus == 0.0) {
        return value;
    }
    value.Modulus = modulus;
    value.angle = NormalizeAngle(angle);
    if (IsEmptyValue(modulus) || IsEmptyValue(value.angle)) {
        value.Re = kEmptyValue;
        value.Im = kEmptyValue;
        return value;
    }
    const double radians = value.angle / kDegreesPerRadian;
    value.Re = modulus * std::cos(radians);
    value.Im = modulus * std::sin(radians);
    return value;
}

ComplexValue ComplexValue::ThirdOfProduct(const ComplexValue& k) const noexcept {
    return FromPolar(Modulus * k.Modulus / 3.0, angle + k.angle);
}

}  // namespace faultscope
