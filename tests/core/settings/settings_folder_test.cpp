#include "core/settings/settings_folder.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace faultscope {
namespace {

class SettingsFolderTest : public ::testing::Test {
  protected:
    SettingsFolderTest() {
        QDir(dir_.path()).mkdir("bin");
        exeDir_ = dir_.filePath("bin");
        userDir_ = dir_.filePath("home/.config/Faultscope");
    }

    // Makes path read-only; false when the permissions do not bind this user.
    static bool MakeReadOnly(const QString& path) {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        return !QFileInfo(path).isWritable();
    }

    QTemporaryDir dir_;
    QString exeDir_;
    QString userDir_;
};

TEST_F(SettingsFolderTest, WritableExecutableFolderIsUsed) {
    EXPECT_EQ(SettingsFolderFor(exeDir_, userDir_), exeDir_);
    EXPECT_FALSE(QFileInfo::exists(userDir_));
}

// An installed program writes nothing beside the system's executables, even where it could
// (as root): its settings and traces go to the user's folder.
TEST_F(SettingsFolderTest, InstalledProgramUsesTheUserFolderEvenWhenItCouldWriteBesideItself) {
    EXPECT_EQ(SettingsFolderFor(exeDir_, userDir_, true), userDir_);
    EXPECT_TRUE(QFileInfo(userDir_).isDir());
    EXPECT_TRUE(QDir(exeDir_).isEmpty());
}

TEST_F(SettingsFolderTest, OnlyTheInstallFolderCountsAsInstalled) {
    const QString installed = InstalledExecutableFolder();
    if (QFileInfo(installed).isDir()) {
        EXPECT_TRUE(RunsInstalled(installed));
        EXPECT_TRUE(RunsInstalled(installed + "/../" + QFileInfo(installed).fileName()));
    }
    EXPECT_FALSE(RunsInstalled(exeDir_));
    EXPECT_FALSE(RunsInstalled(QString()));
}

TEST_F(SettingsFolderTest, UnusableExecutableFolderFallsBackToTheUserFolder) {
    QFile file(dir_.filePath("plain"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    for (const QString& exeDir :
         {dir_.filePath("plain/bin"), dir_.filePath("missing"), QString()}) {
        EXPECT_EQ(SettingsFolderFor(exeDir, userDir_), userDir_) << exeDir.toStdString();
        EXPECT_TRUE(QFileInfo(userDir_).isDir());
    }
}

TEST_F(SettingsFolderTest, ReadOnlyExecutableFolderFallsBackToTheUserFolder) {
    const bool bound = MakeReadOnly(exeDir_);
    if (bound) {
        EXPECT_EQ(SettingsFolderFor(exeDir_, userDir_), userDir_);
        EXPECT_TRUE(QFileInfo(userDir_).isDir());
    }
    QFile::setPermissions(exeDir_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!bound) {
        GTEST_SKIP() << "permissions do not bind this user";
    }
}

TEST_F(SettingsFolderTest, ReadOnlySettingsFileFallsBackToTheUserFolder) {
    const QString config = QDir(exeDir_).filePath(kSettingsFileName);
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(SettingsFolderFor(exeDir_, userDir_), exeDir_);
    if (!MakeReadOnly(config)) {
        GTEST_SKIP() << "permissions do not bind this user";
    }
    EXPECT_EQ(SettingsFolderFor(exeDir_, userDir_), userDir_);
}

}  // namespace
}  // namespace faultscope
