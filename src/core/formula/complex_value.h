#pragma once

#include <limits>
#include <string_view>

namespace faultscope {

// The value of a phasor part that is not defined.
inline constexpr double kEmptyValue = std::numeric_limits<double>::lowest();

[[nodiscard]] constexpr bool IsEmptyValue(double value) noexcept {
    return value <= kEmptyValue;
}

// Brings an angle in degrees into [0, 360); an angle beyond +-10000 becomes empty.
[[nodiscard]] double NormalizeAngle(double degrees) noexcept;

// A phasor kept in both polar and rectangular form.
// Formerly TCmplxValue.
struct ComplexValue {
    double angle = 0.0;  // degrees
    double Re = 0.0;
    double Im = 0.0;
    double Modulus = 0.0;
    std::string_view FormatModulus = "%.2f";
    std::string_view FormatAngle = "%.0f";

    [[nodiscard]] static ComplexValue FromRect(double re, double im) noexcept;
    // A zero modulus is the zero phasor whatever the angle, so that a dead channel, whose angle
    // is undefined, adds nothing instead of spoiling a sum with empty parts.
    [[nodiscard]] static ComplexValue FromPolar(double modulus, double angle) noexcept;

    // The product ZF forms with its compensation factor K: Modulus * K.Modulus / 3 at the sum of
    // the angles. A zero product is the zero phasor.
    [[nodiscard]] ComplexValue ThirdOfProduct(const ComplexValue& k) const noexcept;

    friend ComplexValue operator+(const ComplexValue& a, const ComplexValue& b) noexcept {
        return FromRect(a.Re + b.Re, a.Im + b.Im);
    }
};

}  // namespace faultscope
