#include "core/settings/settings_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace faultscope {

namespace {

// The settings file there must be replaceable too: an existing read-only "Config.ini" in a
// writable folder would make every save fail.
bool CanWriteSettingsIn(const QString& dir) {
    const QFileInfo folder(dir);
    if (dir.isEmpty() || !folder.isDir() || !folder.isWritable()) {
        return false;
    }
    const QFileInfo file(QDir(dir).filePath(QString::fromLatin1(kSettingsFileName)));
    return !file.exists() || (file.isFile() && file.isWritable());
}

}  // namespace

QString InstalledExecutableFolder() {
    return QStringLiteral(FAULTSCOPE_INSTALL_BINDIR);
}

bool RunsInstalled(const QString& executableDir) {
    const QString installed = QFileInfo(InstalledExecutableFolder()).canonicalFilePath();
    return !installed.isEmpty() && QFileInfo(executableDir).canonicalFilePath() == installed;
}

QString SettingsFolderFor(const QString& executableDir, const QString& userConfigDir,
                          bool installed) {
    if (!installed && CanWriteSettingsIn(executableDir)) {
        return QDir::cleanPath(executableDir);
    }
    QDir().mkpath(userConfigDir);
    return QDir::cleanPath(userConfigDir);
}

QString SettingsFolder() {
    const QString executableDir = QCoreApplication::applicationDirPath();
    return SettingsFolderFor(executableDir,
                             QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                             RunsInstalled(executableDir));
}

QString SettingsFilePath() {
    return QDir(SettingsFolder()).filePath(QString::fromLatin1(kSettingsFileName));
}

QString SettingsBaseFilePath() {
    const QString executableDir = QDir::cleanPath(QCoreApplication::applicationDirPath());
    if (RunsInstalled(executableDir) || SettingsFolder() == executableDir) {
        return {};
    }
    const QString path = QDir(executableDir).filePath(QString::fromLatin1(kSettingsFileName));
    return QFileInfo(path).isFile() ? path : QString();
}

}  // namespace faultscope
