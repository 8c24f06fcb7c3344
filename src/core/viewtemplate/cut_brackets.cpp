#include "core/viewtemplate/cut_brackets.h"

namespace faultscope {

QString CutBrackets(const QString& name) {
    QString result = name;
    const qsizetype open = result.indexOf(u'(');
    if (open >= 0) {
        const qsizetype close = result.indexOf(u')');
        result.remove(open, close > open ? close - open + 1 : result.size() - open);
    }
    return result.trimmed();
}

std::vector<bool> MatchTemplateNames(const QStringList& items, const QStringList& names) {
    QStringList cut;
    cut.reserve(items.size());
    for (const QString& item : items) {
        cut.push_back(CutBrackets(item));
    }
    std::vector<bool> shown(static_cast<std::size_t>(items.size()), false);
    for (const QString& name : names) {
        for (qsizetype at = cut.indexOf(name); at >= 0; at = cut.indexOf(name, at + 1)) {
            if (!shown[static_cast<std::size_t>(at)]) {
                shown[static_cast<std::size_t>(at)] = true;
                break;
            }
        }
    }
    return shown;
}

}  // namespace faultscope
