#include "core/settings/color_text.h"

#include <gtest/gtest.h>

namespace faultscope {
namespace {

TEST(ColorText, WritesStandardNamesOrHex) {
    const struct {
        Color color;
        const char* text;
    } cases[] = {
        {32768, "clGreen"},
        {16711680, "clBlue"},
        {65535, "clYellow"},
        {8421376, "clTeal"},
        {255, "clRed"},
        {0, "clBlack"},
        {16777215, "clWhite"},
        {0xFF00000F, "clBtnFace"},
        {16777200, "$00FFFFF0"},
        {55295, "$0000D7FF"},
        {0x12AB34CD, "$12AB34CD"},
        {0xFF000019, "$FF000019"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ColorToString(c.color), QString::fromLatin1(c.text)) << c.text;
    }
}

TEST(ColorText, ReadsNamesHexAndDecimal) {
    const struct {
        const char* text;
        std::optional<Color> color;
    } cases[] = {
        {"clRed", 255},
        {"CLTEAL", 8421376},
        {" clgreen ", 32768},
        {"clLtGray", 0xC0C0C0},
        {"clBtnFace", 0xFF00000F},
        {"$00FFFFF0", 16777200},
        {"$ff", 255},
        {"0x10", 16},
        {"255", 255},
        {"-1", 0xFFFFFFFF},
        {"-2147483648", 0x80000000},
        {"4294967295", 0xFFFFFFFF},
        {"4294967296", std::nullopt},
        {"-2147483649", std::nullopt},
        {"$100000000", std::nullopt},
        {"$", std::nullopt},
        {"$-1", std::nullopt},
        {"$FG", std::nullopt},
        {"xyz", std::nullopt},
        {"clRedd", std::nullopt},
        {"", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StringToColor(QString::fromLatin1(c.text)), c.color) << c.text;
    }
}

TEST(ColorText, EveryWrittenColourReadsBackTheSame) {
    for (Color color :
         {0x00000000U, 0x00808000U, 0x00C0C0C0U, 0x00F0CAA6U, 0x1FFFFFFFU, 0x20000000U, 0xFF000000U,
          0xFF00001EU, 0x0000D7FFU, 0xFFFFFFFFU, 0x7FFFFFFFU, 0x80000000U}) {
        EXPECT_EQ(StringToColor(ColorToString(color)), color) << ColorToString(color).toStdString();
    }
}

}  // namespace
}  // namespace faultscope
