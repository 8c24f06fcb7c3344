#include "core/viewtemplate/cut_brackets.h"

#include <gtest/gtest.h>

namespace faultscope {
namespace {

TEST(CutBracketsTest, RemovesTheFirstBracketedPartAndTrims) {
    const struct {
        const char* name;
        const char* cut;
    } cases[] = {
        {"Ia (ВЛ-110)", "Ia"},
        {"Q1 (вкл", "Q1"},
        {"(x)", ""},
        {"(резерв)", ""},
        {"  Uab  ", "Uab"},
        {"Ia", "Ia"},
        {"", ""},
        {"I0 (a) (b)", "I0  (b)"},
        {"Ib (x) хвост", "Ib  хвост"},
        {"A )x( B", "A )x"},
        {")(", ")"},
        {"U (1 (2) 3)", "U  3)"},
        {"\tIc (ВЛ)\t", "Ic"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CutBrackets(QString::fromUtf8(c.name)), QString::fromUtf8(c.cut)) << c.name;
    }
}

TEST(CutBracketsTest, TemplateNamesShowTheItemsOfEachCutNameInTheirOrder) {
    const QStringList items = {"Ia (ВЛ-110)", "Ib (ВЛ-110)", "(резерв)", "Ia (ВЛ-110)", "ia", "Uc"};
    const struct {
        const char* label;
        QStringList names;
        std::vector<bool> shown;
    } cases[] = {
        // A template made on a line "ВЛ-220" keeps "Ia", which matches "Ia (ВЛ-110)"; the empty
        // part after the value's last "|" matches the channel that cuts to nothing.
        {"other line", {"Ia", "Uc", ""}, {true, false, true, false, false, true}},
        // "Ia (L1)" and "Ia (L2)" both shown are stored as "Ia|Ia|" and shown again both.
        {"same name twice", {"Ia", "Ia"}, {true, false, false, true, false, false}},
        {"same name once", {"Ia"}, {true, false, false, false, false, false}},
        {"more often than there are", {"Ia", "Ia", "Ia"}, {true, false, false, true, false, false}},
        {"letter case counts", {"IA", "ia"}, {false, false, false, false, true, false}},
        {"unknown names ignored",
         {"Ix", "Ib (ВЛ-110)"},
         {false, false, false, false, false, false}},
        {"no names", {}, {false, false, false, false, false, false}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MatchTemplateNames(items, c.names), c.shown) << c.label;
    }
    EXPECT_TRUE(MatchTemplateNames({}, {"Ia", ""}).empty());
}

}  // namespace
}  // namespace faultscope
