#include "core/viewtemplate/formula_check.h"

#include <algorithm>
#include <string>

#include "core/formula/formula_program.h"

namespace faultscope {

QString FormulaFault(const QString& formula, FormulaKind kind) {
    const QString trimmed = formula.trimmed();
    if (trimmed.isEmpty()) {
        return kind == FormulaKind::Angle ? QString() : QStringLiteral("Формула не задана.");
    }
    const std::string text = trimmed.toStdString();
    FormulaProgram translate;
    translate.SetSource(FormulaScript(text));
    const std::optional<FormulaError>& error = translate.SourceError();
    if (!error) {
        return {};
    }
    QString where;
    if (const std::optional<std::size_t> offset = error->Offset()) {
        // The formula stands after the script's head; a fault past its end (a missing closing
        // parenthesis, say) is shown just after its last character.
        const std::size_t head = kFormulaScriptHead.size();
        const std::size_t byte = std::clamp(*offset, head, head + text.size()) - head;
        where = QStringLiteral(", позиция %1")
                    .arg(QString::fromStdString(text.substr(0, byte)).size() + 1);
    }
    return QStringLiteral("Ошибка в формуле %1%2: %3")
        .arg(kind == FormulaKind::Angle ? QStringLiteral("угла") : QStringLiteral("значения"),
             where, QString::fromUtf8(error->what()));
}

}  // namespace faultscope
