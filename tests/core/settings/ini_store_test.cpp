#include "core/settings/ini_store.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <csignal>
#include <stdexcept>

#include "core/settings/settings_error.h"

namespace faultscope {
namespace {

class IniStoreTest : public ::testing::Test {
  protected:
    QString Path() const { return dir_.filePath(QStringLiteral("Config.ini")); }

    void WriteFile(const QByteArray& bytes) const {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray ReadFile() const {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
};

TEST_F(IniStoreTest, NamesIgnoreLetterCaseAndSurroundingBlanks) {
    WriteFile(" [ Настройки ] \n  Ёлка = зелёная\n[frmMain]\ncbbCharPage_ItemIndex=1\n");
    IniStore ini(Path());
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"НАСТРОЙКИ", "ёлка", " зелёная"},
        {"  настройки\t", "ЁЛКА  ", " зелёная"},
        {"FRMMAIN", " CBBCHARPAGE_ITEMINDEX", "1"},
        {"frmmain", "cbbCharPage_ItemIndex", "1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ini.ReadString(QString::fromUtf8(c.section), QString::fromUtf8(c.key)),
                  QString::fromUtf8(c.value))
            << c.section << "/" << c.key;
    }

    ini.WriteString(QString::fromUtf8("НАСТРОЙКИ "), QString::fromUtf8(" ЁЛКА"), "x");
    EXPECT_EQ(ini.ReadSections(), QStringList({QString::fromUtf8("Настройки"), "frmMain"}));
    EXPECT_EQ(ini.ReadSection(QString::fromUtf8("настройки")),
              QStringList{QString::fromUtf8("Ёлка")});
    EXPECT_EQ(ini.ReadString(QString::fromUtf8("Настройки"), QString::fromUtf8("Ёлка")), "x");
}

TEST_F(IniStoreTest, SectionWrittenAgainAfterEraseMovesToTheEnd) {
    IniStore ini(Path());
    for (const char* section : {"ATemplateLst", "DTemplateLst", "frmChlView"}) {
        ini.WriteString(section, "k", "v");
    }
    ini.EraseSection(" atemplatelst ");
    EXPECT_FALSE(ini.SectionExists("ATemplateLst"));
    EXPECT_TRUE(ini.ReadSection("ATemplateLst").isEmpty());
    ini.WriteString("ATemplateLst", "Фазы", "Ia|Ib|Ic|");
    EXPECT_EQ(ini.ReadSections(), QStringList({"DTemplateLst", "frmChlView", "ATemplateLst"}));
    EXPECT_EQ(ini.ReadSection("ATemplateLst"), QStringList{QString::fromUtf8("Фазы")});

    ini.DeleteKey("frmChlView", "K");
    EXPECT_TRUE(ini.SectionExists("frmChlView"));
    EXPECT_FALSE(ini.ValueExists("frmChlView", "k"));
}

TEST_F(IniStoreTest, ReadsAndWritesBooleans) {
    const struct {
        const char* text;
        bool whenDefaultFalse;
        bool whenDefaultTrue;
    } cases[] = {
        {"TRUE", true, true},     {"yes", true, true},    {"Y", true, true},
        {"y", true, true},        {" True ", true, true}, {"FALSE", false, false},
        {"No", false, false},     {"n", false, false},    {"1", true, true},
        {"0", false, false},      {"maybe", false, true}, {"", false, true},
        {"TRUEISH", false, true},
    };
    IniStore ini(Path());
    for (const auto& c : cases) {
        ini.WriteString("s", "b", c.text);
        EXPECT_EQ(ini.ReadBool("s", "b", false), c.whenDefaultFalse) << c.text;
        EXPECT_EQ(ini.ReadBool("s", "b", true), c.whenDefaultTrue) << c.text;
    }
    EXPECT_TRUE(ini.ReadBool("s", "absent", true));
    ini.WriteBool("s", "b", true);
    EXPECT_EQ(ini.ReadString("s", "b"), "TRUE");
    ini.WriteBool("s", "b", false);
    EXPECT_EQ(ini.ReadString("s", "b"), "FALSE");
}

TEST_F(IniStoreTest, NumbersUseAPointWhateverTheLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    IniStore ini(Path());
    ini.WriteFloat("AllOscillForm", "ADPnlRatio", 0.5);
    ini.WriteFloat("s", "tiny", 1.0 / 3.0);
    ini.WriteInteger("AllOscillForm", "AFrameGeight", -100);
    QLocale::setDefault(saved);

    EXPECT_EQ(ini.ReadString("AllOscillForm", "ADPnlRatio"), "0.5");
    EXPECT_EQ(ini.ReadFloat("s", "tiny", 0), 1.0 / 3.0);
    EXPECT_EQ(ini.ReadString("AllOscillForm", "AFrameGeight"), "-100");
    EXPECT_EQ(ini.ReadInteger("AllOscillForm", "AFrameGeight", 0), -100);

    const struct {
        const char* text;
        double asFloat;
        int asInteger;
    } cases[] = {
        {"0,5", 0.5, -7}, {" 12 ", 12, 12}, {"$1F", -7, 31},   {"0x10", -7, 16},
        {"abc", -7, -7},  {"", -7, -7},     {"1e3", 1000, -7}, {"99999999999", 99999999999.0, -7},
    };
    for (const auto& c : cases) {
        ini.WriteString("n", "v", c.text);
        EXPECT_EQ(ini.ReadFloat("n", "v", -7), c.asFloat) << c.text;
        EXPECT_EQ(ini.ReadInteger("n", "v", -7), c.asInteger) << c.text;
    }
}

TEST_F(IniStoreTest, WritesUtf8AndReadsItBack) {
    {
        IniStore ini(Path());
        ini.WriteString("A", "formula", "S1=S2*2=x");
        ini.WriteString(QString::fromUtf8("Шаблоны"), QString::fromUtf8("Фазы"), "Ia|Ib|");
        ini.WriteString("A", "empty", "");
        ini.UpdateFile();
        EXPECT_FALSE(ini.Modified());
    }
    EXPECT_EQ(ReadFile(), QByteArray("[A]\nformula=S1=S2*2=x\nempty=\n\n[Шаблоны]\nФазы=Ia|Ib|\n"));
    const IniStore again(Path());
    EXPECT_EQ(again.ReadString("a", "FORMULA"), "S1=S2*2=x");
    EXPECT_TRUE(again.ValueExists("A", "empty"));
    EXPECT_EQ(again.ReadString("A", "empty", "def"), "");
    EXPECT_EQ(again.ReadString(QString::fromUtf8("шаблоны"), QString::fromUtf8("фазы")), "Ia|Ib|");
}

TEST_F(IniStoreTest, DecodesWindows1251WhenTheBytesAreNotUtf8) {
    const QString text = QString::fromUtf8("[Шаблоны]\nФазы=Ua|Ub|\r\n");
    QStringEncoder cp1251("windows-1251");
    ASSERT_TRUE(cp1251.isValid());
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const QByteArray encodings[] = {
        text.toUtf8(),
        "\xEF\xBB\xBF" + text.toUtf8(),
        cp1251.encode(text),
        utf16.encode(text),
        // Each line in its own encoding, as a file written by two programs may be.
        cp1251.encode(u"[Шаблоны]\n") + QString::fromUtf8("Фазы=Ua|Ub|\r\n").toUtf8(),
        QString::fromUtf8("[Шаблоны]\r\n").toUtf8() + cp1251.encode(u"Фазы=Ua|Ub|"),
    };
    for (const QByteArray& bytes : encodings) {
        WriteFile(bytes);
        const IniStore ini(Path());
        EXPECT_EQ(ini.ReadString(QString::fromUtf8("ШАБЛОНЫ"), QString::fromUtf8("фазы")), "Ua|Ub|")
            << bytes.toHex().toStdString();
        EXPECT_EQ(ini.ReadSections(), QStringList{QString::fromUtf8("Шаблоны")});
    }
}

TEST_F(IniStoreTest, DamagedFileKeepsWhatCanBeRead) {
    const char damaged[] =
        "orphan=1\n"
        "[frmMain]\n"
        "garbage line\n"
        "=no key\n"
        "Left=10\n"
        "[AllOscillForm\n"
        "AFrameGeight=90\n"
        "\x01\x02\xff\x00\xfe\n"
        "[FRMMAIN]\n"
        "left=20\n"
        "Top=30\n";
    WriteFile(QByteArray(damaged, sizeof damaged - 1));
    IniStore ini(Path());
    EXPECT_EQ(ini.ReadSections(), QStringList({"frmMain", "AllOscillForm"}));
    EXPECT_EQ(ini.ReadSection("frmMain"), QStringList({"Left", "Top"}));
    EXPECT_EQ(ini.ReadInteger("frmMain", "Left", 0), 10);
    EXPECT_EQ(ini.ReadInteger("frmMain", "Top", 0), 30);
    EXPECT_EQ(ini.ReadInteger("AllOscillForm", "AFrameGeight", 0), 90);
    EXPECT_FALSE(ini.Modified());

    ini.WriteInteger("frmMain", "Top", 31);
    ini.UpdateFile();
    EXPECT_EQ(ReadFile(), QByteArray("[frmMain]\nLeft=10\nTop=31\n\n[AllOscillForm]\n"
                                     "AFrameGeight=90\n"));
}

TEST_F(IniStoreTest, CarriageReturnsEndingALineAreNoPartOfTheValue) {
    WriteFile("[S]\r\nk=v\r\r\nz=\r\r\n");
    IniStore ini(Path());
    EXPECT_EQ(ini.ReadString("S", "k"), "v");
    EXPECT_EQ(ini.ReadString("S", "z", "none"), "");
    // What is written reads back the same.
    ini.WriteString("S", "n", "1");
    ini.UpdateFile();
    const IniStore again(Path());
    EXPECT_EQ(again.ReadString("S", "k"), "v");
    EXPECT_EQ(again.ReadString("S", "z", "none"), "");
}

TEST_F(IniStoreTest, APipeOrAHugeFileIsNotReadAndNeverOverwritten) {
    const QString pipe = QDir(dir_.path()).filePath("pipe.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString huge = QDir(dir_.path()).filePath("huge.ini");
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[A]\nk=1\n");
        ASSERT_TRUE(file.resize(static_cast<qint64>(IniStore::kMaxFileBytes) + 1));
    }
    for (const QString& path : {pipe, huge}) {
        IniStore ini(path);  // returns at once: a pipe is never waited on
        EXPECT_TRUE(ini.Unreadable()) << path.toStdString();
        EXPECT_TRUE(ini.ReadSections().isEmpty());
        ini.WriteString("B", "k", "2");
        EXPECT_THROW(ini.UpdateFile(), SettingsError);
    }
    EXPECT_FALSE(QFileInfo(pipe).isFile());
    EXPECT_EQ(QFileInfo(huge).size(), static_cast<qint64>(IniStore::kMaxFileBytes) + 1);
}

TEST_F(IniStoreTest, RefusesNamesAndValuesThatWouldNotReadBack) {
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"", "k", "v"},    {"  ", "k", "v"},   {"a\nb", "k", "v"},
        {"s", "", "v"},    {"s", " ", "v"},    {"s", "a=b", "v"},
        {"s", "[x]", "v"}, {"s", "a\rb", "v"}, {"s", "k", "line1\nline2"},
    };
    IniStore ini(Path());
    for (const auto& c : cases) {
        EXPECT_THROW(ini.WriteString(c.section, c.key, c.value), std::invalid_argument)
            << c.section << "/" << c.key;
    }
    EXPECT_FALSE(ini.Modified());
    EXPECT_TRUE(ini.ReadSections().isEmpty());
}

TEST_F(IniStoreTest, WritesTheFileOnlyWhenSomethingChanged) {
    WriteFile("[s]\nk=v\n");
    IniStore ini(Path());
    ini.WriteString("S", "K", "v");
    ini.EraseSection("absent");
    ini.DeleteKey("s", "absent");
    EXPECT_FALSE(ini.Modified());
    ASSERT_TRUE(QFile::remove(Path()));
    ini.UpdateFile();
    EXPECT_FALSE(QFileInfo::exists(Path()));

    ini.WriteString("s", "k", "w");
    EXPECT_TRUE(ini.Modified());
    ini.UpdateFile();
    EXPECT_EQ(ReadFile(), QByteArray("[s]\nk=w\n"));
}

TEST_F(IniStoreTest, FileThatCannotBeReadIsNeverOverwritten) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir("Config.ini"));
    IniStore ini(Path());
    EXPECT_TRUE(ini.ReadSections().isEmpty());
    ini.WriteString("s", "k", "v");
    EXPECT_THROW(ini.UpdateFile(), SettingsError);
    EXPECT_TRUE(QFileInfo(Path()).isDir());
}

TEST_F(IniStoreTest, CopiesSharingTheFileKeepWhatEachSaved) {
    WriteFile("[frmMain]\nheight=100\ncbbCharPage_ItemIndex=0\n[old]\nx=1\ny=2\n");
    IniStore first(Path());
    IniStore second(Path());
    first.WriteString("frmMain", "height", "240");
    first.WriteString("AllOscillForm", "AFrameGeight", "80");
    second.WriteString("FRMMAIN", "cbbCharPage_ItemIndex", "1");
    second.DeleteKey("old", "X");
    first.UpdateFile();
    second.UpdateFile();
    EXPECT_EQ(ReadFile(), QByteArray("[frmMain]\nheight=240\ncbbCharPage_ItemIndex=1\n"
                                     "\n[old]\ny=2\n"
                                     "\n[AllOscillForm]\nAFrameGeight=80\n"));
    // The copy that wrote last now reads what the other one saved.
    EXPECT_EQ(second.ReadString("frmMain", "height"), "240");
    EXPECT_FALSE(second.Modified());

    // A section erased by one copy stays erased; a key the other changes comes back alone.
    first.EraseSection("old");
    second.WriteString("old", "z", "3");
    first.UpdateFile();
    second.UpdateFile();
    EXPECT_EQ(IniStore(Path()).ReadSection("old"), QStringList{"z"});
}

TEST_F(IniStoreTest, BaseFileIsReadButNeverWritten) {
    const QString base = dir_.filePath(QStringLiteral("base.ini"));
    QFile file(base);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[frmMain]\ncbbCharPage_ItemIndex=1\nheight=100\n[Colors]\nx=1\n");
    file.close();
    WriteFile("[frmMain]\nheight=300\n");
    IniStore ini(Path(), base);
    EXPECT_EQ(ini.ReadString("frmMain", "cbbCharPage_ItemIndex"), "1");
    EXPECT_EQ(ini.ReadString("frmMain", "height"), "300");
    EXPECT_EQ(ini.ReadString("colors", "X"), "1");
    EXPECT_FALSE(ini.Modified());
    ini.WriteString("frmMain", "width", "5");
    ini.UpdateFile();
    EXPECT_EQ(ReadFile(), QByteArray("[frmMain]\nheight=300\nwidth=5\n"));
    EXPECT_EQ(ini.ReadString("frmMain", "cbbCharPage_ItemIndex"), "1");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("[frmMain]\ncbbCharPage_ItemIndex=1\nheight=100\n"
                                         "[Colors]\nx=1\n"));
}

// Limits the size of files this process may write, so that a write fails whoever runs the test.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

  private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST_F(IniStoreTest, FailedWriteLeavesTheOldFile) {
    const QByteArray old("[s]\nk=old\n");
    WriteFile(old);
    IniStore ini(Path());
    ini.WriteString("s", "k", QString(64 * 1024, u'x'));
    {
        const FileSizeLimit limit(4096);
        EXPECT_THROW(ini.UpdateFile(), SettingsError);
    }
    EXPECT_EQ(ReadFile(), old);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"Config.ini"});
    EXPECT_TRUE(ini.Modified());
}

TEST_F(IniStoreTest, WriteIntoReadOnlyFolderLeavesTheOldFile) {
    const QByteArray old("[s]\nk=old\n");
    WriteFile(old);
    IniStore ini(Path());
    ini.WriteString("s", "k", "new");
    const QFile::Permissions saved = QFile::permissions(dir_.path());
    QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(dir_.path()).isWritable()) {
        QFile::setPermissions(dir_.path(), saved);
        GTEST_SKIP() << "permissions do not bind this user";
    }
    EXPECT_THROW(ini.UpdateFile(), SettingsError);
    QFile::setPermissions(dir_.path(), saved);
    EXPECT_EQ(ReadFile(), old);
}

}  // namespace
}  // namespace faultscope
