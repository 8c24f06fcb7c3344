#pragma once

#include <QString>

namespace faultscope {

enum class FormulaKind { Value, Angle };

class FormulaProgram;

// What is wrong with a formula, in the words making its channel uses: "Ошибка в формуле
// значения, позиция N: …" (or "угла") with N the character where the translation stopped, from
// 1, then the evaluator's own reason. With a `trial` evaluator that answers the formula's names
// over the chosen sources, the formula is also run on the first sample, so that an unknown name
// or function or a wrong number of arguments is found as making the channel would find it
// ("…, отсчёт 0: …", or the library's own message). Empty when nothing is wrong. An empty value
// formula is a fault; an empty angle formula is not (it is left out).
[[nodiscard]] QString FormulaFault(const QString& formula, FormulaKind kind = FormulaKind::Value,
                                   FormulaProgram* trial = nullptr);

}  // namespace faultscope
