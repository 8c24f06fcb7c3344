#include "core/settings/string_dyn_arr.h"

#include <gtest/gtest.h>

namespace faultscope {
namespace {

TEST(StringDynArrToString, JoinsWithoutATrailingDelimiter) {
    const struct {
        QStringList strings;
        const char* delim;
        const char* text;
    } cases[] = {
        {{}, "|", ""},
        {{"Ia"}, "|", "Ia"},
        {{"Ia", "Ib", "Ic"}, "|", "Ia|Ib|Ic"},
        {{"Ia", "", "Ic"}, "|", "Ia||Ic"},
        {{"Ia", ""}, "|", "Ia|"},
        {{"a", "b"}, ", ", "a, b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StringDynArrToString(c.strings, QString::fromLatin1(c.delim)),
                  QString::fromLatin1(c.text))
            << c.text;
    }
}

}  // namespace
}  // namespace faultscope
