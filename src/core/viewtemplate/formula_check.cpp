#include "core/viewtemplate/formula_check.h"

#include <string>

#include "core/formula/formula_channel.h"
#include "core/formula/formula_program.h"

namespace faultscope {

QString FormulaFault(const QString& formula, FormulaKind kind, FormulaProgram* trial) {
    const QString trimmed = formula.trimmed();
    if (trimmed.isEmpty()) {
        return kind == FormulaKind::Angle ? QString() : QStringLiteral("Формула не задана.");
    }
    const std::string text = trimmed.toStdString();
    const std::string_view which = kind == FormulaKind::Angle ? "угла" : "значения";
    FormulaProgram translate;
    FormulaProgram& program = trial != nullptr ? *trial : translate;
    program.SetSource(FormulaScript(text));
    if (const std::optional<FormulaError>& error = program.SourceError()) {
        return QString::fromStdString(FormulaFailureMessage(which, text, *error, std::nullopt));
    }
    if (trial == nullptr) {
        return {};
    }
    // The first sample, as making the channel computes it: names, functions and their arguments
    // are checked on the way.
    trial->SetTag(0);
    try {
        trial->Run();
    } catch (const FormulaBoxError& error) {
        return QString::fromUtf8(error.what());
    } catch (const FormulaError& error) {
        return QString::fromStdString(FormulaFailureMessage(which, text, error, 0));
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

}  // namespace faultscope
