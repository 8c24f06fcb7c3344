#include "gui/chart/number_format.h"

#include <gtest/gtest.h>

namespace faultscope {
namespace {

struct PictureCase {
    double value;
    const char* pattern;
    const char* expected;
};

TEST(FormatPicture, FollowsThePatternInTheCLocale) {
    const PictureCase cases[] = {
        {1234.5, "#,##0.##", "1,234.5"},
        {-1234567.891, "#,##0.##", "-1,234,567.89"},
        {0.0, "#,##0.##", "0"},
        {999.999, "#,##0.##", "1,000"},
        {30.5, "0.00", "30.50"},
        {70.7106, "0.00", "70.71"},
        {-0.001, "0.00", "0.00"},
        {12.3456, "#######0.##", "12.35"},
        {1000.0, "##0.##", "1000"},
        {0.5, "#.##", ".5"},
        {7.0, "000", "007"},
        {-100.5, "#,##0.###", "-100.5"},
        {5.0, "0.000 ms", "5.000 ms"},
        {100.0, "", "100"},
        {0.1 + 0.2, "", "0.3"},
        {-2.5, "", "-2.5"},
        {1.5e-7, "", "1.5e-07"},
    };
    const QLocale c = QLocale::c();
    for (const PictureCase& item : cases) {
        EXPECT_EQ(FormatPicture(item.value, QString::fromUtf8(item.pattern), c).toStdString(),
                  item.expected)
            << item.value << " with \"" << item.pattern << '"';
    }
}

TEST(FormatPicture, UsesTheLocaleSeparators) {
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    const QString group = russian.groupSeparator();
    EXPECT_EQ(FormatPicture(1234567.25, u"#,##0.##", russian),
              "1" + group + "234" + group + "567,25");
    EXPECT_EQ(FormatPicture(2.5, u"", russian), "2,5");
    EXPECT_EQ(FormatPicture(12345.0, u"", russian), "12345");
}

}  // namespace
}  // namespace faultscope
