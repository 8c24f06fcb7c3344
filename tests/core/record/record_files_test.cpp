#include "core/record/record_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fstream>
#include <functional>

#include "core/record/load_error.h"
#include "core/record/native_file.h"
#include "core/session/record_loader.h"
#include "support/test_paths.h"

namespace faultscope {
namespace {

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray Config(const QByteArray& station) {
    return station +
           ",Dev,1999\r\n1,1A,0D\r\n1,Ia,A,,A,1,0,0,-10,10,1,1,P\r\n50\r\n1\r\n1000,1\r\n"
           "01/02/2019,10:20:30.000000\r\n01/02/2019,10:20:30.000000\r\nASCII\r\n1\r\n";
}

class RecordFilesTest : public ::testing::Test {
  protected:
    QString Path(const QString& name) const { return QDir(dir_.path()).filePath(name); }
    QTemporaryDir dir_;
};

TEST_F(RecordFilesTest, FindsPartnersWhateverTheCaseOfTheirExtension) {
    Write(Path("up.CFG"), Config("S"));
    Write(Path("up.DAT"), "1,0,1\n");
    Write(Path("mixed.cfg"), Config("S"));
    Write(Path("mixed.Dat"), "1,0,1\n");
    RecordFiles files;
    ASSERT_TRUE(CheckFile(Path("up.CFG"), files));
    EXPECT_EQ(files.fileName, Path("up"));
    EXPECT_EQ(files.cfgPath, Path("up.CFG"));
    EXPECT_EQ(files.datPath, Path("up.DAT"));
    ASSERT_TRUE(CheckFile(Path("up.DAT"), files));
    EXPECT_EQ(files.cfgPath, Path("up.CFG"));
    ASSERT_TRUE(CheckFile(Path("mixed.cfg"), files));
    EXPECT_EQ(files.datPath, Path("mixed.Dat"));
}

TEST_F(RecordFilesTest, PartnerWithTheChosenCaseWins) {
    for (const char* name : {"two.cfg", "two.CFG", "two.dat", "two.DAT"}) {
        Write(Path(name), Config(name));
    }
    RecordFiles files;
    ASSERT_TRUE(CheckFile(Path("two.CFG"), files));
    EXPECT_EQ(files.datPath, Path("two.DAT"));
    EXPECT_EQ(files.cfgPath, Path("two.CFG"));
    ASSERT_TRUE(CheckFile(Path("two.dat"), files));
    EXPECT_EQ(files.cfgPath, Path("two.cfg"));
}

TEST_F(RecordFilesTest, MissingFilesAndPartners) {
    Write(Path("lone.dat"), "1,0,1\n");
    RecordFiles files;
    EXPECT_FALSE(CheckFile(Path("lone.dat"), files));
    EXPECT_EQ(files.fileName, Path("lone"));
    try {
        CheckFile(Path("absent.cfg"), files);
        FAIL();
    } catch (const LoadError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Такого файла не существует: " + Path("absent.cfg").toStdString());
    }
}

TEST_F(RecordFilesTest, LoadCfgFileWrapsParserMessages) {
    Write(Path("bad.cfg"), "S,D,1999\n1,1,0D\n");
    try {
        LoadCfgFile(Path("bad.cfg"), TextEncoding::Windows);
        FAIL();
    } catch (const LoadError& e) {
        EXPECT_STREQ(e.what(),
                     "Ошибка загрузки данных из файла конфигурации. Ошибка разбора данных. "
                     "Не указано количество аналоговых каналов");
    }
}

TEST_F(RecordFilesTest, DecodesTheChosenEncodingUnlessTheTextIsUtf8) {
    const struct {
        QByteArray station;
        TextEncoding encoding;
        const char* expected;
    } cases[] = {
        {"\xcf\xf1-110", TextEncoding::Windows, "Пс-110"},         // Windows-1251
        {"\x8f\xe1-110", TextEncoding::Cp866, "Пс-110"},           // code page 866
        {"SE COXIP\xc3\x93", TextEncoding::Windows, "SE COXIPÓ"},  // UTF-8 without a mark
        {"SE COXIP\xc3\x93", TextEncoding::Cp866, "SE COXIPÓ"},
        {"\xef\xbb\xbfPlain", TextEncoding::Cp866, "Plain"},  // byte order mark
    };
    for (const auto& c : cases) {
        Write(Path("enc.cfg"), Config(c.station));
        EXPECT_EQ(LoadCfgFile(Path("enc.cfg"), c.encoding).station_name, c.expected);
    }
}

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const LoadError& e) {
        return e.what();
    }
    return "no error";
}

TEST_F(RecordFilesTest, SpecialFilesAreRefusedWithoutBlocking) {
    // Opening a FIFO for reading waits for a writer: every case below would hang if it did.
    ASSERT_EQ(::mkfifo(NativePath(Path("pipe.cfg")).c_str(), 0600), 0);
    Write(Path("rec.cfg"), Config("S"));
    ASSERT_EQ(::symlink("pipe.cfg", NativePath(Path("rec.DAT")).c_str()), 0);
    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.cfg"));
    const std::string special = "Это не обычный файл (папка, устройство или канал): ";
    EXPECT_EQ(MessageOf([&] { LoadCfgFile(Path("pipe.cfg"), TextEncoding::Windows); }),
              special + Path("pipe.cfg").toStdString());
    EXPECT_EQ(MessageOf([&] { LoadCfgFile("/dev/zero", TextEncoding::Windows); }),
              special + "/dev/zero");
    RecordFiles files;
    EXPECT_EQ(MessageOf([&] { CheckFile(Path("folder.cfg"), files); }),
              special + Path("folder.cfg").toStdString());
    // The partner found only through the folder listing is a link to the FIFO: no pair.
    EXPECT_FALSE(CheckFile(Path("rec.cfg"), files));
    EXPECT_EQ(MessageOf([&] { LoadRecord(Path("rec.cfg"), {}); }), kNoRecordPairMessage);
}

TEST_F(RecordFilesTest, UnreadableConfigurationSaysSo) {
    Write(Path("locked.cfg"), Config("S"));
    ASSERT_TRUE(QFile::setPermissions(Path("locked.cfg"), {}));
    ASSERT_EQ(::chmod(NativePath(dir_.path()).c_str(), 0755), 0);
    // The superuser reads anything: read as an ordinary user then.
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(!root || ::seteuid(65534) == 0);
    const std::string message =
        MessageOf([&] { LoadCfgFile(Path("locked.cfg"), TextEncoding::Windows); });
    ASSERT_TRUE(!root || ::seteuid(0) == 0);
    EXPECT_EQ(message, "Нет прав на чтение файла: " + Path("locked.cfg").toStdString());
}

TEST_F(RecordFilesTest, NamesThatAreNotValidTextStillOpen) {
    const std::string base = NativePath(dir_.path()) + "/\xcf\xf1 \xff";  // Windows-1251 and junk
    std::ofstream(base + ".cfg", std::ios::binary) << Config("S").toStdString();
    std::ofstream(base + ".DAT", std::ios::binary) << "1,0,1\n";
    const QString chosen = PathFromNative(base + ".cfg");
    EXPECT_EQ(NativePath(chosen), base + ".cfg");
    const LoadedRecord record = LoadRecord(chosen, {});
    EXPECT_EQ(NativePath(record.files.datPath), base + ".DAT");
    EXPECT_EQ(record.data.xMs.size(), 1u);
}

TEST(NativePath, RoundTripsEveryByteString) {
    for (const std::string& bytes :
         {std::string("plain/ascii.cfg"), std::string("Пс-110.cfg"),
          std::string("\xcf\xf1\xff\x80"), std::string("\xd0"), std::string("\xed\xa0\x80"),
          std::string("a\xc0\xaf"
                      "b")}) {
        EXPECT_EQ(NativePath(PathFromNative(bytes)), bytes);
    }
    EXPECT_EQ(PathFromNative("Пс-110"), QString("Пс-110"));
}

TEST(TextEncoding, Utf8Validation) {
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("\xd0\x9f\xf0\x9f\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("\xcf\xf1"));          // Windows-1251 "Пс"
    EXPECT_FALSE(IsValidUtf8("\xc0\xaf"));          // overlong
    EXPECT_FALSE(IsValidUtf8("\xed\xa0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xf4\x90\x80\x80"));  // past U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xd0"));              // cut short
}

TEST(TextEncoding, LineBreaks) {
    EXPECT_EQ(DecodeConfigLines("a\r\nb\nc\rd", TextEncoding::Windows),
              (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(DecodeConfigLines("a\n\nb\n", TextEncoding::Windows),
              (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(DecodeConfigLines("", TextEncoding::Windows).empty());
}

TEST(SharedSamples, UpperCaseExtensionsAreFound) {
    const QString cfg =
        QString::fromStdString((test::SamplesDir() / "Esticonv__Wisp.Comtrade" / "4.CFG").string());
    RecordFiles files;
    ASSERT_TRUE(CheckFile(cfg, files));
    EXPECT_TRUE(files.datPath.endsWith("4.DAT"));
}

}  // namespace
}  // namespace faultscope
