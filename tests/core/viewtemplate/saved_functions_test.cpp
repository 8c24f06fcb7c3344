#include "core/viewtemplate/saved_functions.h"

#include <gtest/gtest.h>

namespace faultscope {
namespace {

TEST(FuncListTest, EntriesSplitAtTheirFirstThreeSeparators) {
    const struct {
        const char* entry;
        SavedFunction info;
    } cases[] = {
        {"I0@(S1+S2+S3)/3@@Zero sequence", {"I0", "(S1+S2+S3)/3", "", "Zero sequence"}},
        {"Z@S1/S2@ANGLE1@ratio @ of two", {"Z", "S1/S2", "ANGLE1", "ratio @ of two"}},
        {"N@S1", {"N", "", "", "S1"}},
        {"no separator", {"", "", "", "no separator"}},
        {"@S1@@", {"", "S1", "", ""}},
    };
    for (const auto& c : cases) {
        const SavedFunction got = GetFuncInfo(QString::fromUtf8(c.entry));
        EXPECT_EQ(got.FuncName, c.info.FuncName) << c.entry;
        EXPECT_EQ(got.FormulaValue, c.info.FormulaValue) << c.entry;
        EXPECT_EQ(got.FormulaAngle, c.info.FormulaAngle) << c.entry;
        EXPECT_EQ(got.FormulaDescription, c.info.FormulaDescription) << c.entry;
    }
}

TEST(FuncListTest, TheStoredListIsTheKeyedHexOfItsUtf8Text) {
    // "A" is 0x41, XOR "W" 0x57 = 0x16; CR 0x0d XOR "q" 0x71 = 0x7c; LF 0x0a XOR "b" 0x62 = 0x68.
    EXPECT_EQ(EncodeFuncList({"A"}), "167c68");
    const QStringList latin = {"I0@S1+S2@@sum"};
    EXPECT_EQ(EncodeFuncList(latin).size(), 2 * (latin[0].size() + 2));
    const QStringList mixed = {"Ток@S1*2@ANGLE1@удвоение @ тока", "Z@S1/S2@@"};
    EXPECT_EQ(DecodeFuncList(EncodeFuncList(mixed)), mixed);
    EXPECT_EQ(DecodeFuncList(EncodeFuncList(mixed).toUpper()), mixed);
    EXPECT_EQ(DecodeFuncList({}), QStringList());
    for (const char* bad : {"167c6", "1g7c68", "c3"}) {
        EXPECT_FALSE(DecodeFuncList(bad).has_value()) << bad;
    }
}

TEST(FuncListTest, SavingAFunctionJoinsItsLinesAndGuardsItsName) {
    QStringList list = {"Sum@S1+S2@@"};
    EXPECT_EQ(SaveFunction(list, FunctionEditMode::iNew, "  Half  ", {" S1 ", "/2"}, {},
                           {"half", "of S1"}),
              SaveFunctionResult::Added);
    EXPECT_EQ(list.back(), "Half@S1 /2@@half of S1");
    EXPECT_EQ(SaveFunction(list, FunctionEditMode::iNew, "Sum", {"S1"}, {}, {}),
              SaveFunctionResult::NameTaken);
    EXPECT_EQ(SaveFunction(list, FunctionEditMode::iNew, "X", {"  "}, {}, {}),
              SaveFunctionResult::EmptyFields);
    EXPECT_EQ(SaveFunction(list, FunctionEditMode::iNew, " ", {"S1"}, {}, {}),
              SaveFunctionResult::EmptyFields);
    EXPECT_EQ(SaveFunction(list, FunctionEditMode::iEdit, "Sum", {"S1-S2"}, {"ANGLE1"}, {"diff"}),
              SaveFunctionResult::Replaced);
    EXPECT_EQ(list, QStringList({"Sum@S1-S2@ANGLE1@diff", "Half@S1 /2@@half of S1"}));
    EXPECT_EQ(SaveFunction(list, FunctionEditMode::iEdit, "Gone", {"S1"}, {}, {}),
              SaveFunctionResult::NotFound);
    EXPECT_EQ(list.size(), 2);
}

}  // namespace
}  // namespace faultscope
