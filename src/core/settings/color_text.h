#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace faultscope {

// A colour laid out 0x00BBGGRR (red in the lowest byte); a highest byte of 0xFF names a system
// colour by its index in the low byte.
using Color = std::uint32_t;

constexpr Color RgbToColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) noexcept {
    return Color{red} | (Color{green} << 8U) | (Color{blue} << 16U);
}

// The colour-to-text rule: the standard name of the colour ("clGreen", "clBtnFace"…) when it has
// one, otherwise "$" and 8 upper-case hexadecimal digits ("$00FFFFF0").
QString ColorToString(Color color);

// The text-to-colour rule: a standard name (any letter case), "$" or "0x" followed by hexadecimal
// digits, or a decimal number (negative values are the 32-bit pattern of a signed number).
// Surrounding blanks are ignored. Nothing when the text is none of these or does not fit 32 bits.
std::optional<Color> StringToColor(QStringView text);

}  // namespace faultscope
