#include "core/formula/cmplx_value.h"

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

TCmplxValue TCmplxValue::FromRect(double re, double im) noexcept {
    TCmplxValue value;
    value.Re = re;
    value.Im = im;
    value.Modul = std::sqrt(re * re + im * im);
    value.fAngle = re == 0.0 && im == 0.0 ? kEmptyValue : NormalizeAngle(DirectionDegrees(re, im));
    return value;
}

TCmplxValue TCmplxValue::FromPolar(double modul, double angle) noexcept {
    TCmplxValue value;
    if (modul == 0.0) {
        return value;
    }
    value.Modul = modul;
    value.fAngle = NormalizeAngle(angle);
    if (IsEmptyValue(modul) || IsEmptyValue(value.fAngle)) {
        value.Re = kEmptyValue;
        value.Im = kEmptyValue;
        return value;
    }
    const double radians = value.fAngle / kDegreesPerRadian;
    value.Re = modul * std::cos(radians);
    value.Im = modul * std::sin(radians);
    return value;
}

TCmplxValue TCmplxValue::ThirdOfProduct(const TCmplxValue& k) const noexcept {
    return FromPolar(Modul * k.Modul / 3.0, fAngle + k.fAngle);
}

}  // namespace faultscope
