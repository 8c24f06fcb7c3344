#include "core/viewtemplate/template_store.h"

#include <stdexcept>
#include <utility>

#include "core/settings/ini_store.h"

namespace faultscope {
namespace {

constexpr QChar kSeparator = u'|';
constexpr QChar kEscape = u'\\';

QString Escaped(const QString& name) {
    QString text;
    text.reserve(name.size());
    for (const QChar c : name) {
        if (c == kSeparator || c == kEscape) {
            text += kEscape;
        }
        text += c;
    }
    return text;
}

}  // namespace

QString TemplateValue(const QStringList& names) {
    QString value;
    for (const QString& name : names) {
        if (!name.isEmpty()) {
            value += Escaped(name) + kSeparator;
        }
    }
    return value;
}

QStringList TemplateNames(const QString& value) {
    QStringList names;
    QString current;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == kEscape && i + 1 < value.size() &&
            (value[i + 1] == kSeparator || value[i + 1] == kEscape)) {
            current += value[++i];
        } else if (c == kSeparator) {
            names.push_back(std::exchange(current, {}));
        } else {
            current += c;
        }
    }
    names.push_back(current);
    return names;
}

QString TemplateNameError(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) {
        return QStringLiteral("Введите имя шаблона");
    }
    if (trimmed.contains(u'=') || trimmed.startsWith(u'[') || trimmed.contains(u'\n') ||
        trimmed.contains(u'\r')) {
        return QStringLiteral(
            "Имя шаблона не может содержать знак \"=\" или перевод строки и начинаться со "
            "знака \"[\".");
    }
    return {};
}

QStringList ReadTemplateList(const IniStore& ini, const QString& section) {
    QStringList lines;
    for (const QString& key : ini.ReadSection(section)) {
        lines.push_back(key + u'=' + ini.ReadString(section, key));
    }
    return lines;
}

QString TemplateLineName(const QString& line) {
    return line.section(u'=', 0, 0);
}

QString TemplateLineValue(const QString& line) {
    const qsizetype eq = line.indexOf(u'=');
    return eq < 0 ? QString() : line.sliced(eq + 1);
}

void WriteTemplate(IniStore& ini, const QString& section, const QString& name,
                   const QStringList& names) {
    if (!TemplateNameError(name).isEmpty()) {
        throw std::invalid_argument("Invalid template name");
    }
    ini.WriteString(section, name.trimmed(), TemplateValue(names));
    ini.UpdateFile();
}

void DeleteTemplate(IniStore& ini, const QString& section, const QString& name) {
    ini.DeleteKey(section, name);
    ini.UpdateFile();
}

}  // namespace faultscope
