#include "core/viewtemplate/saved_functions.h"

#include <QByteArray>
#include <QStringDecoder>
#include <array>

namespace faultscope {
namespace {

constexpr std::array<char, 4> kKey = {'W', 'q', 'b', 'z'};

// The token before the first `delimiter`; `rest` keeps what follows it. Without the delimiter
// the token is empty and `rest` stays as it is.
QString CutToken(QString& rest, QChar delimiter) {
    const qsizetype at = rest.indexOf(delimiter);
    if (at < 0) {
        return {};
    }
    QString token = rest.first(at);
    rest.remove(0, at + 1);
    return token;
}

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') {
        return u - '0';
    }
    if (u >= 'a' && u <= 'f') {
        return u - 'a' + 10;
    }
    if (u >= 'A' && u <= 'F') {
        return u - 'A' + 10;
    }
    return -1;
}

}  // namespace

SavedFunction GetFuncInfo(const QString& entry) {
    QString rest = entry;
    SavedFunction info;
    info.FuncName = CutToken(rest, u'@');
    info.FormulaValue = CutToken(rest, u'@');
    info.FormulaAngle = CutToken(rest, u'@');
    info.FormulaDescription = rest;
    return info;
}

QString FuncName(const QString& entry) {
    QString rest = entry;
    return CutToken(rest, u'@');
}

QString JoinLines(const QStringList& lines) {
    QStringList trimmed;
    for (const QString& line : lines) {
        trimmed.push_back(line.trimmed());
    }
    return trimmed.join(u' ');
}

QString EncodeFuncList(const QStringList& entries) {
    QString text;
    for (const QString& entry : entries) {
        text += entry + QStringLiteral("\r\n");
    }
    const QByteArray bytes = text.toUtf8();
    QByteArray mixed(bytes.size(), '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        mixed[i] = static_cast<char>(bytes[i] ^ kKey[static_cast<std::size_t>(i % 4)]);
    }
    return QString::fromLatin1(mixed.toHex());
}

std::optional<QStringList> DecodeFuncList(const QString& stored) {
    if (stored.size() % 2 != 0) {
        return std::nullopt;
    }
    QByteArray bytes(stored.size() / 2, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const int high = HexDigit(stored[2 * i]);
        const int low = HexDigit(stored[2 * i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes[i] = static_cast<char>((high << 4 | low) ^ kKey[static_cast<std::size_t>(i % 4)]);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        return std::nullopt;
    }
    QStringList entries = text.split(QStringLiteral("\r\n"));
    if (!entries.isEmpty() && entries.back().isEmpty()) {
        entries.pop_back();
    }
    return entries;
}

SaveFunctionResult SaveFunction(QStringList& list, FunctionEditMode mode, const QString& name,
                                const QStringList& valueLines, const QStringList& angleLines,
                                const QStringList& descriptionLines) {
    const QString funcName = name.trimmed();
    const QString value = JoinLines(valueLines);
    if (funcName.isEmpty() || value.isEmpty()) {
        return SaveFunctionResult::EmptyFields;
    }
    const QString entry =
        funcName + u'@' + value + u'@' + JoinLines(angleLines) + u'@' + JoinLines(descriptionLines);
    qsizetype found = -1;
    for (qsizetype i = 0; i < list.size() && found < 0; ++i) {
        if (FuncName(list[i]) == funcName) {
            found = i;
        }
    }
    if (mode == FunctionEditMode::iNew) {
        if (found >= 0) {
            return SaveFunctionResult::NameTaken;
        }
        list.push_back(entry);
        return SaveFunctionResult::Added;
    }
    if (found < 0) {
        return SaveFunctionResult::NotFound;
    }
    list[found] = entry;
    return SaveFunctionResult::Replaced;
}

}  // namespace faultscope
