// Settings and view template files of any bytes: reading never fails but by refusing the file,
// and what the store writes reads back as the same sections, keys and values.
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

#include "core/settings/ini_store.h"

namespace {

using faultscope::IniStore;

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool SameContent(const IniStore& a, const IniStore& b) {
    const QStringList sections = a.ReadSections();
    if (sections != b.ReadSections()) {
        return false;
    }
    for (const QString& section : sections) {
        const QStringList keys = a.ReadSection(section);
        if (keys != b.ReadSection(section)) {
            return false;
        }
        for (const QString& key : keys) {
            if (a.ReadString(section, key) != b.ReadString(section, key)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    const QString first = dir.filePath("first.ini");
    const QString second = dir.filePath("second.ini");
    if (!Write(first,
               QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)))) {
        return 0;
    }
    const IniStore read(first);
    if (read.Unreadable() || !Write(second, read.ToBytes())) {
        return 0;
    }
    const IniStore again(second);
    if (again.Unreadable() || !SameContent(read, again)) {
        __builtin_trap();
    }
    return 0;
}
