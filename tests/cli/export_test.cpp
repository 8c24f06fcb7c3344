// `faultscope-cli export` run as a user runs it: the demo and every record of the samples that
// loads become a PDF with as many pages as the layout gives and a PNG that shows the curves.
#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "gui/chart/chart_test_support.h"
#include "gui/print/page_painter.h"
#include "gui/print/record_export.h"
#include "support/pdf_tools.h"
#include "support/test_paths.h"

namespace faultscope {
namespace {

struct Result {
    int status = -1;
    QString out;
    QString err;
};

Result Cli(const QStringList& arguments) {
    QProcess process;
    process.start(FAULTSCOPE_CLI, arguments);
    process.waitForFinished(180000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString Demo() {
    return QString::fromStdString((test::SourceDir() / "examples" / "demo.cfg").string());
}

// Pages the layout gives for the record on A4 with the export's margins and the caption.
int ExpectedPages(const QString& record) {
    OffscreenRecord offscreen;
    offscreen.Load(record, TextEncoding::Windows);
    PdfExportOptions options;
    options.caption = true;
    return static_cast<int>(
        LayoutRecord(PrintSourceOf(offscreen.Document()), ExportPageSetup(options)).size());
}

QString Simplified(const QString& text) {
    return text.simplified();
}

class ExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::HavePdfTools()) {
            GTEST_SKIP() << "pdfinfo and pdftotext (poppler-utils) are not installed";
        }
    }
    QString File(const QString& name) const { return QDir(dir_.path()).filePath(name); }
    QTemporaryDir dir_;
};

TEST_F(ExportTest, TheDemoBecomesAPdfAndAPictureOfItsCurves) {
    const Result r = Cli({"export", Demo(), "--pdf", File("demo.pdf"), "--caption", "--png",
                          File("demo.png"), "--size", "1200x900"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const int pages = ExpectedPages(Demo());
    EXPECT_EQ(test::PdfPageCount(File("demo.pdf")), pages);
    EXPECT_TRUE(r.out.contains(QString("%1 pages").arg(pages))) << r.out.toStdString();
    const QString first = test::PdfPageText(File("demo.pdf"), 1);
    EXPECT_TRUE(first.contains("ПС 110 кВ Северная")) << first.toStdString();
    EXPECT_TRUE(first.contains("РЗА ВЛ-110 Северная-Заречная"));
    // The time line's three times close the record, the last one included.
    const QString last = test::PdfPageText(File("demo.pdf"), pages);
    for (const char* time : {"Tмин = 2026.12.10 14:23:05.123", "Tсраб = 2026.12.10 14:23:05.223",
                             "Tмакс = 2026.12.10 14:23:05.623"}) {
        EXPECT_TRUE(Simplified(last).contains(QString::fromUtf8(time))) << time;
    }

    const QImage png(File("demo.png"));
    ASSERT_EQ(png.size(), QSize(1200, 900));
    // The phase curves are yellow, green and red; the rest of a strip is white, grey or black.
    int yellow = 0;
    int red = 0;
    for (int y = 0; y < png.height(); ++y) {
        for (int x = 0; x < png.width(); ++x) {
            const QColor c = png.pixelColor(x, y);
            yellow += c.red() > 200 && c.green() > 200 && c.blue() < 80;
            red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    }
    EXPECT_GT(yellow, 500);
    EXPECT_GT(red, 500);
}

TEST_F(ExportTest, PageSizeAndPictureSizeFollowTheOptions) {
    ASSERT_EQ(Cli({"export", Demo(), "--pdf", File("a5.pdf"), "--width", "148", "--height", "210"})
                  .status,
              0);
    const std::optional<QString> info = test::RunTool("pdfinfo", {File("a5.pdf")});
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->contains("(A5)")) << info->toStdString();
    ASSERT_EQ(Cli({"export", Demo(), "--png", File("plain.png")}).status, 0);
    EXPECT_FALSE(QImage(File("plain.png")).isNull());
}

TEST_F(ExportTest, WrongArgumentsAndBadRecordsAreRefused) {
    const struct {
        QStringList args;
        int status;
        const char* says;
    } cases[] = {
        {{"export", Demo()}, 2, "--pdf"},
        {{"export", "--pdf", "x.pdf"}, 2, "no record"},
        {{"export", Demo(), "--pdf", "x.pdf", "--width", "100"}, 2, "go together"},
        {{"export", Demo(), "--png", "x.png", "--size", "12by4"}, 2, "WIDTHxHEIGHT"},
        {{"export", "missing.cfg", "--pdf", "x.pdf"}, 1, ""},
        {{"export", Demo(), "--pdf", "/no/such/folder/x.pdf"}, 1, "/no/such/folder/x.pdf"},
        {{"export", Demo(), "--pdf", File("small.pdf"), "--width", "20", "--height", "20"},
         1,
         "Лист слишком мал"},
    };
    for (const auto& c : cases) {
        const Result r = Cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
    }
}

// Runs the command line in a shell whose files may not grow past 2 KiB, as on a full disk; the
// signal a process gets at the limit is ignored, so the write itself fails.
Result CliOnAFullDisk(const QStringList& arguments) {
    QStringList shell = {"-c", "trap '' XFSZ; ulimit -f 4; exec \"$0\" \"$@\"", FAULTSCOPE_CLI};
    QProcess process;
    process.start("/bin/sh", shell + arguments);
    process.waitForFinished(180000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST_F(ExportTest, AFailedWriteExitsWithAnErrorAndLeavesTheOldFileWhole) {
    const QString pdf = File("old.pdf");
    const QString png = File("old.png");
    ASSERT_EQ(Cli({"export", Demo(), "--pdf", pdf, "--png", png}).status, 0);
    const auto bytes = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray oldPdf = bytes(pdf);
    const QByteArray oldPng = bytes(png);
    ASSERT_GT(oldPdf.size(), 4096);
    ASSERT_GT(oldPng.size(), 4096);
    const struct {
        const char* option;
        QString target;
        bool fullDisk;
    } cases[] = {
        {"--pdf", pdf, true},          {"--png", png, true},          {"--pdf", "/dev/full", false},
        {"--png", "/dev/full", false}, {"--pdf", dir_.path(), false},
    };
    for (const auto& c : cases) {
        const QStringList args = {"export", Demo(), c.option, c.target};
        const Result r = c.fullDisk ? CliOnAFullDisk(args) : Cli(args);
        EXPECT_EQ(r.status, 1) << c.option << ' ' << c.target.toStdString();
        EXPECT_TRUE(r.err.contains("Не удалось записать файл «" + c.target + "»"))
            << r.err.toStdString();
        EXPECT_FALSE(r.out.contains("pages") || r.out.contains("png:")) << r.out.toStdString();
    }
    EXPECT_EQ(bytes(pdf), oldPdf);
    EXPECT_EQ(bytes(png), oldPng);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList({"old.pdf", "old.png"}))
        << "no temporary file is left behind";
}

TEST_F(ExportTest, EveryRecordOfTheSamplesThatLoadsIsExported) {
    const QString samples = QString::fromStdString(test::SamplesDir().string());
    if (!QDir(samples).exists()) {
        GTEST_SKIP() << "no samples at " << samples.toStdString();
    }
    QDirIterator it(samples, {"*.cfg", "*.CFG"}, QDir::Files, QDirIterator::Subdirectories);
    int exported = 0;
    while (it.hasNext()) {
        const QString record = it.next();
        const QString pdf = File(QString("r%1.pdf").arg(exported));
        const Result r = Cli({"export", record, "--pdf", pdf, "--caption"});
        if (r.status == 1 && !QFile::exists(pdf)) {
            continue;  // refused with the user's message, as the window would refuse it
        }
        ASSERT_EQ(r.status, 0) << record.toStdString() << ": " << r.err.toStdString();
        ++exported;
        EXPECT_EQ(test::PdfPageCount(pdf), ExpectedPages(record)) << record.toStdString();
        const Result info = Cli({"info", record});
        const QString station = info.out.section("station: ", 1).section('\n', 0, 0);
        const bool plain = std::ranges::all_of(station, [](QChar c) { return c.unicode() < 128; });
        if (plain && !station.trimmed().isEmpty()) {
            EXPECT_TRUE(Simplified(test::PdfPageText(pdf, 1)).contains(Simplified(station)))
                << record.toStdString() << " station " << station.toStdString();
        }
    }
    EXPECT_GE(exported, 3);
}

}  // namespace
}  // namespace faultscope
