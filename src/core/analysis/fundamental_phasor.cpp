#include "core/analysis/fundamental_phasor.h"

#include <numbers>

namespace faultscope {

// FundamentalAngle reads the angle from the sine amplitude as the real part and the cosine
// amplitude as the imaginary part; the amplitudes over √2 make the modulus an RMS value.
std::optional<Phasor> FundamentalPhasor(const HarmonicSums& sums) noexcept {
    if (sums.overGap) {
        return std::nullopt;
    }
    return Phasor(sums.im[0], sums.re[0]) / std::numbers::sqrt2;
}

std::optional<Phasor> FundamentalPhasorAt(std::span<const double> xMs, const AnalogColumns& channel,
                                          double frequency, std::size_t i,
                                          std::string_view channelId) {
    return FundamentalPhasor(CalcHarmonicSums(xMs, channel.Samples(), frequency, i, channelId));
}

double PhasorAngle(Phasor p) noexcept {
    return FundamentalAngle(p.imag(), p.real());
}

}  // namespace faultscope
