#include "core/settings/app_settings.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

namespace faultscope {
namespace {

constexpr char kDefaults[] =
    "clGreen|clBlue|clYellow|$00FFFFF0|clLime|clPurple|clMaroon|clNavy|$0000D7FF|clTeal";

class AppSettingsTest : public ::testing::Test {
  protected:
    QString Path() const { return dir_.filePath(QStringLiteral("Config.ini")); }

    void WriteFile(const QByteArray& bytes) const {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir dir_;
};

TEST_F(AppSettingsTest, WithoutASettingsFileWritesTheDefaultTablesBack) {
    {
        AppSettings dm(Path());
        EXPECT_EQ(dm.TimeLabelColors(), DefaultColorTable());
        EXPECT_EQ(dm.CurveColors(), DefaultColorTable());
    }
    const IniStore ini(Path());
    EXPECT_EQ(ini.ReadSections(), QStringList{"%FORM_NAME%"});
    EXPECT_EQ(ini.ReadString("%FORM_NAME%", "TimeLableColorsAr"), kDefaults);
    EXPECT_EQ(ini.ReadString("%FORM_NAME%", "ChtColorsAr"), kDefaults);
}

TEST_F(AppSettingsTest, ReadsStoredTablesAndWritesThemBack) {
    const struct {
        const char* stored;
        ColorTable table;
        const char* writtenBack;
    } cases[] = {
        {"clRed||xyz", {255, 16711680}, "clRed|clBlue"},
        {"|", {}, ""},
        {"", DefaultColorTable(), kDefaults},
        {"$00FFFFF0|16777215", {16777200, 16777215}, "$00FFFFF0|clWhite"},
    };
    for (const auto& c : cases) {
        WriteFile(QByteArray("[frmMain]\nLeft=5\n[%form_name%]\nTimeLableColorsAr=") + c.stored +
                  "\nChtColorsAr=" + c.stored + "\n");
        {
            AppSettings dm(Path());
            EXPECT_EQ(dm.TimeLabelColors(), c.table) << c.stored;
            EXPECT_EQ(dm.CurveColors(), c.table) << c.stored;
        }
        const IniStore ini(Path());
        EXPECT_EQ(ini.ReadString("%FORM_NAME%", "TimeLableColorsAr"), c.writtenBack) << c.stored;
        EXPECT_EQ(ini.ReadString("%FORM_NAME%", "ChtColorsAr"), c.writtenBack) << c.stored;
        EXPECT_EQ(ini.ReadString("frmMain", "Left"), "5");
    }
}

TEST_F(AppSettingsTest, WritesChangedTablesAndOtherWindowsValues) {
    {
        AppSettings dm(Path());
        dm.TimeLabelColors() = {255, 0x00123456};
        dm.CurveColors().clear();
        FormStateStore main(&dm.IniFile(), "%FORM_NAME%\\", "frmMain");
        main.WriteInteger(FormStateStore::PropertyKey("cbbCharPage", "ItemIndex"), 1);
    }
    const IniStore ini(Path());
    EXPECT_EQ(ini.ReadString("%FORM_NAME%", "TimeLableColorsAr"), "clRed|$00123456");
    EXPECT_EQ(ini.ReadString("%FORM_NAME%", "ChtColorsAr", "absent"), "");
    EXPECT_EQ(ini.ReadInteger("frmMain", "cbbCharPage_ItemIndex", -1), 1);
}

}  // namespace
}  // namespace faultscope
