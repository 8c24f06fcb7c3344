#pragma once

#include <QString>

namespace faultscope {

enum class FormulaKind { Value, Angle };

// What is wrong with a formula before it runs, in the words a failed computation uses: "Ошибка в
// формуле значения, позиция N: …" (or "угла") with N the character where the translation stopped,
// from 1, then the evaluator's own reason. Empty when the formula translates. An empty value
// formula is a fault; an empty angle formula is not (it is left out).
[[nodiscard]] QString FormulaFault(const QString& formula, FormulaKind kind = FormulaKind::Value);

}  // namespace faultscope
