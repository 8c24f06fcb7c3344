#include "core/viewtemplate/template_file.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include "core/record/record_files.h"

namespace faultscope {

QString TemplateFilePath(const QString& fileName, const QString& modelExtension) {
    const QFileInfo named(fileName);
    if (named.isFile() && named.suffix() == QLatin1String("lyt")) {
        return fileName;
    }
    const QString preferred = fileName + u'.' + CaseLike(QStringLiteral("lyt"), modelExtension);
    for (const QString& spelling :
         {preferred, fileName + QStringLiteral(".lyt"), fileName + QStringLiteral(".LYT")}) {
        if (QFileInfo(spelling).isFile()) {
            return spelling;
        }
    }
    const QDir folder = named.dir();
    const QString base = named.fileName();
    for (const QString& name : folder.entryList({base + QStringLiteral(".*")}, QDir::Files)) {
        if (name.size() == base.size() + 4 && name.startsWith(base) &&
            name.sliced(base.size() + 1).compare(QLatin1String("lyt"), Qt::CaseInsensitive) == 0) {
            return folder.filePath(name);
        }
    }
    return preferred;
}

bool CanWriteFile(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && (!info.isFile() || !info.isWritable())) {
        return false;
    }
    QTemporaryFile probe(info.dir().filePath(QStringLiteral("faultscope_probe_XXXXXX")));
    return probe.open();
}

}  // namespace faultscope
