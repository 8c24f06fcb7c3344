// Saved function lists of any text: decoding never fails, and entries encoded and decoded again
// come back as they were.
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

#include "core/viewtemplate/saved_functions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList stored = faultscope::DecodeFuncList(text).value_or(QStringList());
    for (const QString& entry : stored) {
        (void)faultscope::GetFuncInfo(entry);
        (void)faultscope::FuncName(entry);
    }
    // Entries as the dialog makes them: one line each, never empty.
    QStringList entries;
    for (const QString& line : text.split(u'\n')) {
        const QString entry = faultscope::JoinLines({line});
        if (!entry.isEmpty()) {
            entries.append(entry);
        }
    }
    if (faultscope::DecodeFuncList(faultscope::EncodeFuncList(entries)) != entries) {
        __builtin_trap();
    }
    return 0;
}
