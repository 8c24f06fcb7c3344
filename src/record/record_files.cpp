#include "record/record_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "record/cfg_parser.h"
#include "record/load_error.h"

namespace faultscope {
namespace {

constexpr qint64 kMaxConfigBytes = 64LL * 1024 * 1024;

[[noreturn]] void RaiseMissing(const QString& path) {
    throw LoadError("Такого файла не существует: " + path.toStdString());
}

bool IsFile(const QString& path) {
    return QFileInfo(path).isFile();
}

// `wanted` spelled with the letter case of `model`, letter by letter ("dat" after "Cfg" is "Dat").
QString CaseLike(const QString& wanted, const QString& model) {
    QString out = wanted;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const bool upper = i < model.size() && model[i].isUpper();
        out[i] = upper ? out[i].toUpper() : out[i].toLower();
    }
    return out;
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
    const QStringList names =
        folder.entryList({base + ".*"}, QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& name : names) {
        if (name.size() == base.size() + 1 + ext.size() && name.startsWith(base) &&
            name.sliced(base.size() + 1).compare(ext, Qt::CaseInsensitive) == 0) {
            return folder.filePath(name);
        }
    }
    return {};
}

}  // namespace

bool ChekFile(const QString& filePath, RecordFiles& files) {
    if (!IsFile(filePath)) {
        RaiseMissing(filePath);
    }
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

TCfgFile LoadCfgFile(const QString& filePath, TextEncoding encoding) {
    if (!IsFile(filePath)) {
        RaiseMissing(filePath);
    }
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        RaiseMissing(filePath);
    }
    if (file.size() > kMaxConfigBytes) {
        throw LoadError("Ошибка загрузки данных из файла конфигурации. Файл слишком велик: " +
                        filePath.toStdString());
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        RaiseMissing(filePath);
    }
    TCfgFile cfg;
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
