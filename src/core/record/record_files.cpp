#include "core/record/record_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include <unistd.h>

#include "core/record/cfg_parser.h"
#include "core/record/load_error.h"
#include "core/record/native_file.h"

namespace faultscope {
namespace {

constexpr qint64 kMaxConfigBytes = 64LL * 1024 * 1024;

bool IsFile(const QString& path) {
    return ProbeFile(path) == FileKind::Regular;
}

void RequireFile(const QString& path) {
    const FileKind kind = ProbeFile(path);
    if (kind != FileKind::Regular) {
        RaiseUnopenable(path, kind);
    }
}

// The partner file base + "." + ext in `folder` whatever the case of ext; empty if none exists.
QString FindPartner(const QDir& folder, const QString& base, const QString& ext,
                    const QString& chosenExt) {
    for (const QString& spelling : {CaseLike(ext, chosenExt), ext.toLower(), ext.toUpper()}) {
        const QString path = folder.filePath(base + '.' + spelling);
        if (IsFile(path)) {
            return path;
        }
    }
    std::vector<QString> names = ListFolder(folder.path());
    std::sort(names.begin(), names.end());
    for (const QString& name : names) {
        if (name.size() == base.size() + 1 + ext.size() && name.startsWith(base) &&
            name[base.size()] == '.' &&
            name.sliced(base.size() + 1).compare(ext, Qt::CaseInsensitive) == 0) {
            const QString path = folder.filePath(name);
            if (IsFile(path)) {
                return path;
            }
        }
    }
    return {};
}

}  // namespace

QString CaseLike(const QString& wanted, const QString& model) {
    QString out = wanted;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const bool upper = i < model.size() && model[i].isUpper();
        out[i] = upper ? out[i].toUpper() : out[i].toLower();
    }
    return out;
}

bool CheckFile(const QString& filePath, RecordFiles& files) {
    RequireFile(filePath);
    const QFileInfo chosen(filePath);
    const QDir folder = chosen.dir();
    const QString base = chosen.completeBaseName();
    const QString ext = chosen.suffix();
    files.fileName = folder.filePath(base);
    files.cfgPath.clear();
    files.datPath = FindPartner(folder, base, QStringLiteral("dat"), ext);
    if (files.datPath.isEmpty()) {
        return false;
    }
    files.cfgPath = FindPartner(folder, base, QStringLiteral("cfg"), ext);
    return !files.cfgPath.isEmpty();
}

RecordConfig LoadCfgFile(const QString& filePath, TextEncoding encoding) {
    FileKind kind = FileKind::Missing;
    const int fd = OpenRegularFile(filePath, kind);
    if (fd < 0) {
        RaiseUnopenable(filePath, kind);
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        RaiseUnopenable(filePath, FileKind::Missing);
    }
    if (file.size() > kMaxConfigBytes) {
        throw LoadError("Ошибка загрузки данных из файла конфигурации. Файл слишком велик: " +
                        filePath.toStdString());
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        RaiseUnopenable(filePath, FileKind::Missing);
    }
    RecordConfig cfg;
    try {
        if (!ParseCfgFile(cfg, DecodeConfigLines(bytes, encoding))) {
            throw LoadError("Ошибка разбора данных. " + cfg.LastError);
        }
    } catch (const LoadError& e) {
        throw LoadError(std::string("Ошибка загрузки данных из файла конфигурации. ") + e.what());
    }
    return cfg;
}

}  // namespace faultscope
