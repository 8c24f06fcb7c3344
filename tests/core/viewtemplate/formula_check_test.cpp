#include "core/viewtemplate/formula_check.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/formula/formula_library.h"
#include "core/formula/formula_program.h"

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
        {"(S1+S2", FormulaKind::Value,
         "Ошибка в формуле значения, позиция 7: ')' expected but end of formula found"},
        {"S1 S2", FormulaKind::Angle, "Ошибка в формуле угла, позиция 4: Missing operator"},
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

TEST(FormulaCheckTest, WithSourcesTheFormulaIsTriedAsMakingTheChannelRunsIt) {
    // The library over one chosen source of two samples, as a dialog with one channel has.
    const AnalogColumns columns = AnalogColumns::FromValues(std::vector<double>{2.0, 3.0});
    const AnalogChannel info;
    const FormulaSlot sources[] = {{&columns, &info}};
    FormulaProgram trial;
    trial.SetOnGetValue([&sources](const FormulaProgram* sender, std::string_view identifier,
                                   Variant& value, const FormulaArguments& args, bool& done) {
        CalcValue(sources, sender, identifier, value, args, done);
    });
    const struct {
        const char* formula;
        const char* fault;  // empty: the formula runs
    } cases[] = {
        {"S1*2+1", ""},
        {"S6+1", "Ошибка в формуле значения, позиция 1, отсчёт 0: Undeclared Identifier 'S6'"},
        {"foo(S1)", "Ошибка в формуле значения, позиция 1, отсчёт 0: Undeclared Identifier 'foo'"},
        {"Sqrt(S1, S1)", "Функция Sqrt может принимать только одно значение."},
        {"(S1", "Ошибка в формуле значения, позиция 4: ')' expected but end of formula found"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormulaFault(QString::fromUtf8(c.formula), FormulaKind::Value, &trial),
                  QString::fromUtf8(c.fault))
            << c.formula;
    }
    // Without sources only the translation is checked.
    EXPECT_TRUE(FormulaFault("S6+1").isEmpty());
}

}  // namespace
}  // namespace faultscope
