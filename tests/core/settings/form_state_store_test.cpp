#include "core/settings/form_state_store.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "core/settings/ini_store.h"

namespace faultscope {
namespace {

class FormStateStoreTest : public ::testing::Test {
  protected:
    QTemporaryDir dir_;
    IniStore ini_{dir_.filePath(QStringLiteral("Config.ini"))};
};

TEST_F(FormStateStoreTest, SectionIsTheOwningWindowsName) {
    const struct {
        const char* path;
        const char* formName;
        const char* section;
    } cases[] = {
        {"%FORM_NAME%\\", "frmMain", "frmMain"},
        {"%FORM_NAME%", "frmChlView", "frmChlView"},
        {"AllOscillForm\\", "frmOscil1", "AllOscillForm"},
        {"%FORM_NAME%\\", "", "%FORM_NAME%"},
    };
    for (const auto& c : cases) {
        const FormStateStore store(&ini_, c.path, c.formName);
        EXPECT_EQ(store.Section(), QString::fromLatin1(c.section)) << c.path << " " << c.formName;
    }
}

TEST_F(FormStateStoreTest, PropertiesAndStoredValuesGoUnderTheirKeys) {
    FormStateStore store(&ini_, "%FORM_NAME%\\", "frmCustomSeries");
    store.WriteInteger(FormStateStore::PropertyKey("cbbSeries1", "ItemIndex"), 3);
    store.WriteBool(FormStateStore::PropertyKey("chkCaption", "Checked"), true);
    store.WriteString("FuncList", "5369");
    store.WriteFloat("ADPnlRatio", 0.25);

    EXPECT_EQ(ini_.ReadString("frmCustomSeries", "cbbSeries1_ItemIndex"), "3");
    EXPECT_EQ(ini_.ReadString("frmCustomSeries", "chkCaption_Checked"), "TRUE");
    EXPECT_EQ(ini_.ReadString("frmCustomSeries", "FuncList"), "5369");
    EXPECT_EQ(store.ReadInteger("CBBSERIES1_ITEMINDEX", -1), 3);
    EXPECT_TRUE(store.ReadBool("chkCaption_Checked", false));
    EXPECT_EQ(store.ReadFloat("ADPnlRatio", 0), 0.25);
    EXPECT_EQ(store.ReadInteger("cbbFunction_ItemIndex", -1), -1);
}

TEST_F(FormStateStoreTest, PlacementKeepsOnlyThePartsTheOptionsAskFor) {
    const WindowPlacement stored{QRect(10, 20, 300, 200), WindowState::Maximized};
    const WindowPlacement current{QRect(1, 2, 3, 4), WindowState::Normal};
    const struct {
        PlacementOptions options;
        QStringList keys;
        WindowPlacement restored;
    } cases[] = {
        {PlacementOptions::All(), {"Left", "Top", "Width", "Height", "WindowState"}, stored},
        {{.position = true}, {"Left", "Top"}, {QRect(10, 20, 3, 4), WindowState::Normal}},
        {{.size = true}, {"Width", "Height"}, {QRect(1, 2, 300, 200), WindowState::Normal}},
        {{.state = true}, {"WindowState"}, {QRect(1, 2, 3, 4), WindowState::Maximized}},
        {PlacementOptions::None(), {}, current},
    };
    for (const auto& c : cases) {
        ini_.EraseSection("frmPrint");
        FormStateStore store(&ini_, "%FORM_NAME%\\", "frmPrint", c.options);
        EXPECT_EQ(store.RestorePlacement(current), current);
        store.StorePlacement(stored);
        EXPECT_EQ(ini_.ReadSection("frmPrint"), c.keys);
        EXPECT_EQ(store.RestorePlacement(current), c.restored);
    }
}

TEST_F(FormStateStoreTest, UnusablePlacementValuesKeepTheCurrentOnes) {
    ini_.WriteString("frmMain", "Left", "-50");
    ini_.WriteString("frmMain", "Top", "x");
    ini_.WriteString("frmMain", "Width", "0");
    ini_.WriteString("frmMain", "Height", "500");
    ini_.WriteString("frmMain", "WindowState", "Sideways");
    const FormStateStore store(&ini_, "%FORM_NAME%\\", "frmMain");
    const WindowPlacement current{QRect(5, 6, 700, 400), WindowState::Minimized};
    EXPECT_EQ(store.RestorePlacement(current),
              (WindowPlacement{QRect(-50, 6, 700, 400), WindowState::Minimized}));
}

TEST_F(FormStateStoreTest, WithoutASettingsFileReadsDefaultsAndWritesNothing) {
    FormStateStore store(nullptr, "%FORM_NAME%\\", "frmZone");
    store.WriteInteger("k", 5);
    store.StorePlacement({QRect(1, 1, 9, 9), WindowState::Maximized});
    EXPECT_EQ(store.ReadInteger("k", 7), 7);
    const WindowPlacement current{QRect(1, 2, 3, 4), WindowState::Normal};
    EXPECT_EQ(store.RestorePlacement(current), current);
}

}  // namespace
}  // namespace faultscope
