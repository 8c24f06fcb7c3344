#include "core/viewtemplate/template_store.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <stdexcept>

#include "core/settings/ini_store.h"

namespace faultscope {
namespace {

TEST(TemplateStoreTest, ValuesEndEveryNameWithABarAndReadBackWhateverTheNamesHold) {
    const struct {
        QStringList names;
        const char* value;
    } cases[] = {
        {{"Ia", "Ib", "Ic"}, "Ia|Ib|Ic|"},
        {{"Ia", "", "Uc"}, "Ia|Uc|"},
        {{"A|B", "C@D", "E\\F", "G=H"}, "A\\|B|C@D|E\\\\F|G=H|"},
        {{"|", "\\|"}, "\\||\\\\\\||"},
        {{"Ток фазы А"}, "Ток фазы А|"},
    };
    for (const auto& c : cases) {
        const QString value = TemplateValue(c.names);
        EXPECT_EQ(value, QString::fromUtf8(c.value));
        QStringList back = c.names;
        back.removeAll(QString());
        back.push_back(QString());  // the empty text after the last "|"
        EXPECT_EQ(TemplateNames(value), back) << c.value;
    }
    EXPECT_TRUE(TemplateValue({}).isEmpty());
}

TEST(TemplateStoreTest, ValuesSplitAtEveryBarThatIsNotEscaped) {
    const struct {
        const char* value;
        QStringList names;
    } cases[] = {
        {"", {""}},
        {"|", {"", ""}},
        {"Ia|Ib", {"Ia", "Ib"}},
        {"Ia||Ib|", {"Ia", "", "Ib", ""}},
        {"C:\\x|", {"C:\\x", ""}},
        {"tail\\", {"tail\\"}},
        {"a\\|b\\\\|c", {"a|b\\", "c"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TemplateNames(QString::fromUtf8(c.value)), c.names) << c.value;
    }
}

TEST(TemplateStoreTest, NamesThatCannotBeAKeyAreRefusedWithAReason) {
    for (const char* good : {"Линия 1", "a|b@c", "  x  ", "x[1]"}) {
        EXPECT_TRUE(TemplateNameError(QString::fromUtf8(good)).isEmpty()) << good;
    }
    EXPECT_EQ(TemplateNameError("   "), "Введите имя шаблона");
    for (const char* bad : {"a=b", "[x", " [x", "a\nb"}) {
        EXPECT_TRUE(TemplateNameError(QString::fromUtf8(bad)).contains("\"=\"")) << bad;
    }
}

TEST(TemplateStoreTest, WritesReachTheFileAtOnceAndNamesIgnoreLetterCase) {
    QTemporaryDir dir;
    const QString file = dir.filePath("Config.ini");
    IniStore ini(file);
    WriteTemplate(ini, kAnalogTemplateSection, " Линия ", {"Ia", "Ib"});
    WriteTemplate(ini, kAnalogTemplateSection, "Шины", {"Ua"});
    WriteTemplate(ini, kAnalogTemplateSection, "ЛИНИЯ", {"I0"});
    WriteTemplate(ini, kDigitalTemplateSection, "Линия", {"Q1"});
    EXPECT_EQ(ReadTemplateList(IniStore(file), kAnalogTemplateSection),
              QStringList({"Линия=I0|", "Шины=Ua|"}));
    EXPECT_EQ(ReadTemplateList(IniStore(file), kDigitalTemplateSection),
              QStringList({"Линия=Q1|"}));
    EXPECT_THROW(WriteTemplate(ini, kAnalogTemplateSection, "a=b", {"Ia"}), std::invalid_argument);

    DeleteTemplate(ini, kAnalogTemplateSection, "линия");
    EXPECT_EQ(ReadTemplateList(IniStore(file), kAnalogTemplateSection), QStringList({"Шины=Ua|"}));
    EXPECT_EQ(TemplateLineName("a|b@c=x\\|y|"), "a|b@c");
    EXPECT_EQ(TemplateLineValue("a|b@c=x\\|y|"), "x\\|y|");
}

}  // namespace
}  // namespace faultscope
