#include "core/viewtemplate/formula_check.h"

#include <gtest/gtest.h>

namespace faultscope {
namespace {

TEST(FormulaCheckTest, AFaultIsPlacedAtItsCharacterInTheFormula) {
    const struct {
        const char* formula;
        FormulaKind kind;
        const char* prefix;  // empty: the formula translates
    } cases[] = {
        {" (S1+S2+S3)/3 ", FormulaKind::Value, ""},
        {"LEFT('S1', 3) * Sqrt(D2)", FormulaKind::Angle, ""},
        {"", FormulaKind::Angle, ""},
        {"  ", FormulaKind::Value, "Формула не задана."},
        {"(S1+S2", FormulaKind::Value, "Ошибка в формуле значения, позиция 7: "},
        {"S1 S2", FormulaKind::Angle, "Ошибка в формуле угла, позиция 4: "},
        {"'Ток'+S1 ?", FormulaKind::Value, "Ошибка в формуле значения, позиция 10: "},
        {"*S1", FormulaKind::Value, "Ошибка в формуле значения, позиция 1: "},
    };
    for (const auto& c : cases) {
        const QString fault = FormulaFault(QString::fromUtf8(c.formula), c.kind);
        if (*c.prefix == '\0') {
            EXPECT_TRUE(fault.isEmpty()) << c.formula << ": " << fault.toStdString();
        } else {
            EXPECT_TRUE(fault.startsWith(QString::fromUtf8(c.prefix)))
                << c.formula << ": " << fault.toStdString();
        }
    }
}

}  // namespace
}  // namespace faultscope
