// Visibility template names and values of any text: a stored value reads back as the channel
// names it was made of, and no name or value makes the functions fail.
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

#include "core/viewtemplate/cut_brackets.h"
#include "core/viewtemplate/template_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // As a stored value.
    (void)faultscope::TemplateNames(text);
    (void)faultscope::TemplateNameError(text);
    (void)faultscope::CutBrackets(text);
    // As channel names, one a line.
    const QStringList names = text.split(u'\n');
    QStringList kept;
    for (const QString& name : names) {
        if (!name.isEmpty()) {
            kept.append(name);
        }
    }
    kept.append(QString());  // the empty text after the last "|"
    if (faultscope::TemplateNames(faultscope::TemplateValue(names)) != kept) {
        __builtin_trap();
    }
    return 0;
}
