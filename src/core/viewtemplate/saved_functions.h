#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace faultscope {

// One saved function: a named pair of value formula and angle formula with a description.
// Formerly TFuncInfo.
struct SavedFunction {
    QString FuncName;
    QString FormulaValue;
    QString FormulaAngle;
    QString FormulaDescription;
};

// Splits an entry "name@value@angle@description" at its first three "@"; the description is the
// whole rest and may hold "@" itself. A missing "@" leaves the field it should close empty and
// the text to the following fields.
[[nodiscard]] SavedFunction GetFuncInfo(const QString& entry);

// The name of an entry: the text before its first "@" (empty without one).
[[nodiscard]] QString FuncName(const QString& entry);

// Trims every line and joins them with one blank, so an entry never holds a line break.
[[nodiscard]] QString JoinLines(const QStringList& lines);

// The stored form of the saved-function list (every entry followed by CR LF): the UTF-8 bytes
// XOR-ed with the key "Wqbz" byte by byte, as two lower-case hexadecimal digits per byte.
[[nodiscard]] QString EncodeFuncList(const QStringList& entries);
// The entries of a stored list. Digits of either case are read; a value that is not pairs of
// hexadecimal digits, or not UTF-8 once decoded, reads as nothing: it is no list at all.
[[nodiscard]] std::optional<QStringList> DecodeFuncList(const QString& stored);

// Whether the function editor makes a new saved function or changes one.
// Formerly TMode.
enum class FunctionEditMode { iNew, iEdit };

enum class SaveFunctionResult { Added, Replaced, EmptyFields, NameTaken, NotFound };

// The function dialog's "Создать"/"Сохранить": the entry made of the trimmed name and the joined
// lines of the three memos is appended (new mode, name not taken) or replaces the first entry of
// the same name (edit mode). The list is left as it was on any other result.
SaveFunctionResult SaveFunction(QStringList& list, FunctionEditMode mode, const QString& name,
                                const QStringList& valueLines, const QStringList& angleLines,
                                const QStringList& descriptionLines);

}  // namespace faultscope
