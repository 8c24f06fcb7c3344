#include "core/settings/color_table.h"

#include <gtest/gtest.h>

namespace faultscope {
namespace {

constexpr Color kRed = 255;
constexpr Color kBlue = 16711680;

TEST(ColorTable, ParsesStoredTables) {
    const struct {
        const char* text;
        ColorTable colors;
    } cases[] = {
        {"clRed||xyz", {kRed, kBlue}},
        {"|", {}},
        {"||", {}},
        {"clRed", {kRed}},
        {"$000000FF|255|clred|", {kRed, kRed, kRed}},
        {" |clRed", {kBlue, kRed}},
        {"", DefaultColorTable()},
    };
    for (const auto& c : cases) {
        ColorTable colors{1, 2, 3};
        StrToColorsAr(QString::fromLatin1(c.text), QStringLiteral("|"), colors);
        EXPECT_EQ(colors, c.colors) << c.text;
    }
}

TEST(ColorTable, WritesTablesJoinedWithTheDelimiter) {
    EXPECT_EQ(ColorsArToStr(DefaultColorTable(), QStringLiteral("|")),
              QStringLiteral("clGreen|clBlue|clYellow|$00FFFFF0|clLime|clPurple|clMaroon|clNavy|"
                             "$0000D7FF|clTeal"));
    EXPECT_EQ(ColorsArToStr({kRed, kBlue}, QStringLiteral("|")), QStringLiteral("clRed|clBlue"));
    EXPECT_EQ(ColorsArToStr({}, QStringLiteral("|")), QString());
}

TEST(ColorTable, WrittenTableReadsBackTheSame) {
    const ColorTable table{kRed, 0x00123456, 0xFF00000F, 0, kBlue};
    ColorTable read;
    StrToColorsAr(ColorsArToStr(table, QStringLiteral("|")), QStringLiteral("|"), read);
    EXPECT_EQ(read, table);
}

}  // namespace
}  // namespace faultscope
