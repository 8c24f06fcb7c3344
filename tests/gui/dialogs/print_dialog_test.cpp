// The print dialog as a person uses it: margins, caption and page range change the preview,
// pages go to a PDF file or to the system's PDF printer, failures are told, choices are kept.
#include <gtest/gtest.h>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>

#include "core/settings/ini_store.h"
#include "gui/app/main_window.h"
#include "gui/app/record_window.h"
#include "gui/chart/chart_test_support.h"
#include "gui/dialogs/print_dialog.h"
#include "gui/document/record_document.h"
#include "gui/print/page_preview.h"
#include "gui/print/print_source.h"
#include "gui/views/analog_strip.h"
#include "gui/views/time_label.h"
#include "gui/views/time_label_list.h"
#include "support/main_window_fixture.h"
#include "support/modal_dialog.h"
#include "support/pdf_tools.h"

namespace faultscope {
namespace {

constexpr char kStation[] = "ПС 110 кВ Северная";
constexpr char kDevice[] = "РЗА ВЛ-110 Северная-Заречная";

class PrintDialogTest : public test::MainWindowFixture {
  protected:
    void TearDown() override {
        dialog_.reset();
        MainWindowFixture::TearDown();
    }
    QString RecordToOpen() const override { return test::DemoRecord(); }

    // A dialog on the demo, printing to a PDF file unless `printer` names another entry.
    PrintDialog& Open(const QString& printer = {}) {
        dialog_ =
            std::make_unique<PrintDialog>(ini_.get(), window_->Document(), window_, &messages_);
        dialog_->SetPdfFileChooser([this] { return pdfFile_; });
        dialog_->show();
        QApplication::processEvents();
        auto* printers = Find<QComboBox>("cbbPrinters");
        printers->setCurrentIndex(printers->findData(printer));
        return *dialog_;
    }
    template <typename T>
    T* Find(const char* name) const {
        T* widget = dialog_->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void SetField(const char* name, int value) {
        auto* field = Find<QSpinBox>(name);
        field->selectAll();
        QTest::keyClicks(field, QString::number(value));
        QTest::keyClick(field, Qt::Key_Tab);
    }
    void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }
    // Short pages: margins of 100 mm above and below spread the demo over several pages.
    void ShortPages() {
        SetField("sePoleTop", 100);
        SetField("sePoleButtom", 100);
        Click("btnApply");
    }
    QString PrintToFile(const char* name) {
        pdfFile_ = QDir(dir_.path()).filePath(name);
        Click("btnPrint");
        return pdfFile_;
    }
    void ChoosePages(int item) {
        auto* group = dialog_->findChild<QWidget*>("rgPages");
        QTest::mouseClick(group->findChildren<QRadioButton*>().at(item), Qt::LeftButton);
    }

    std::unique_ptr<PrintDialog> dialog_;
    QString pdfFile_;
};

TEST_F(PrintDialogTest, MarginsAndCaptionChangeThePreview) {
    PrintDialog& d = Open();
    EXPECT_EQ(d.windowTitle(), "Настройка печати");
    EXPECT_EQ(d.Device().dpi, 300);
    EXPECT_EQ(d.Preview()->PageCount(), static_cast<int>(d.Pages().size()));
    const QImage before = d.Preview()->Page(0);
    const QRect printableBefore = d.Printable();

    SetField("sePoleLeft", 30);
    EXPECT_EQ(d.Preview()->Page(0), before) << "only Применить applies the margins";
    Click("btnApply");
    EXPECT_EQ(d.Printable().left(), 354);  // 30 mm at 300 dpi
    EXPECT_EQ(d.Printable().right(), printableBefore.right());
    EXPECT_NE(d.Preview()->Page(0), before);
    ASSERT_FALSE(d.Pages()[0].empty());
    EXPECT_EQ(d.Pages()[0][0].rect.left(), 354);

    const QImage uncaptioned = d.Preview()->Page(0);
    QTest::mouseClick(Find<QCheckBox>("chkCaption"), Qt::LeftButton);
    ASSERT_GE(d.Pages()[0].size(), 2u);
    EXPECT_EQ(d.Pages()[0][0].kind, PageItemKind::StationName);
    EXPECT_EQ(d.Pages()[0][1].kind, PageItemKind::DeviceName);
    EXPECT_NE(d.Preview()->Page(0), uncaptioned);
}

TEST_F(PrintDialogTest, PrintsAllPagesOrThePageSelectedInThePreviewToAPdfFile) {
    if (!test::HavePdfTools()) {
        GTEST_SKIP() << "pdfinfo and pdftotext (poppler-utils) are not installed";
    }
    PrintDialog& d = Open();
    QTest::mouseClick(Find<QCheckBox>("chkCaption"), Qt::LeftButton);
    ShortPages();
    const int pages = static_cast<int>(d.Pages().size());
    ASSERT_GE(pages, 3);

    const QString all = PrintToFile("all.pdf");
    EXPECT_TRUE(messages_.texts.empty()) << messages_.texts.front().toStdString();
    EXPECT_EQ(test::PdfPageCount(all), pages);
    const QString first = test::PdfPageText(all, 1);
    EXPECT_TRUE(first.contains(kStation)) << first.toStdString();
    EXPECT_TRUE(first.contains(kDevice));
    EXPECT_TRUE(first.contains("IA ВЛ-110"));
    EXPECT_FALSE(test::PdfPageText(all, 2).contains(kStation)) << "the caption is on page 1 only";

    const QRect second = d.Preview()->PageRect(1);
    QTest::mouseClick(d.Preview()->Row(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(d.Preview()->SelectedPage(), 1);
    ChoosePages(1);
    const QString one = PrintToFile("one.pdf");
    EXPECT_EQ(test::PdfPageCount(one), 1);
    EXPECT_EQ(test::PdfPageText(one, 1), test::PdfPageText(all, 2));
    EXPECT_TRUE(d.isVisible()) << "the dialog stays open after printing";
}

TEST_F(PrintDialogTest, AFailedPrintIsToldAndTheDialogStaysOpen) {
    PrintDialog& d = Open();
    PrintToFile("no such folder/out.pdf");
    ASSERT_EQ(messages_.texts.size(), 1u);
    EXPECT_TRUE(messages_.texts[0].contains("no such folder/out.pdf"))
        << messages_.texts[0].toStdString();
    EXPECT_TRUE(d.isVisible());
}

TEST_F(PrintDialogTest, RemembersCaptionFontPageRangeAndSizeButNotMargins) {
    PrintDialog& d = Open();
    const int unprintable = Find<QSpinBox>("sePoleTop")->value();
    QTest::mouseClick(Find<QCheckBox>("chkCaption"), Qt::LeftButton);
    ChoosePages(1);
    d.SetCaptionFont(QFont("DejaVu Serif", 14));
    d.resize(900, 520);
    SetField("sePoleTop", 40);
    Click("btnApply");
    Click("btnCancel");
    EXPECT_FALSE(d.isVisible());

    PrintDialog& again = Open();
    EXPECT_TRUE(Find<QCheckBox>("chkCaption")->isChecked());
    EXPECT_TRUE(
        dialog_->findChild<QWidget*>("rgPages")->findChildren<QRadioButton*>().at(1)->isChecked());
    EXPECT_EQ(again.CaptionFont().family(), "DejaVu Serif");
    EXPECT_EQ(again.CaptionFont().pointSize(), 14);
    EXPECT_EQ(again.size(), QSize(900, 520));
    EXPECT_EQ(Find<QSpinBox>("sePoleTop")->value(), unprintable);
}

TEST_F(PrintDialogTest, HiddenStripsAreLeftOutAndOrderIsKept) {
    const auto& strips = window_->Document()->AnalogStrips()->DisplayList();
    strips[0]->hide();
    strips[2]->hide();
    const PrintSource source = PrintSourceOf(*window_->Document());
    ASSERT_EQ(source.analog.size(), strips.size() - 2);
    EXPECT_EQ(source.analog[0], strips[1]->Cht());
    EXPECT_EQ(source.analog[1], strips[3]->Cht());
    EXPECT_EQ(source.stationName, kStation);
    EXPECT_EQ(source.deviceName, kDevice);
    EXPECT_EQ(source.timeAxis, window_->Document()->TimeLineView()->Cht());
}

TEST_F(PrintDialogTest, TimeLabelsStandOnTopOfEveryPage) {
    window_->Document()->AddTimeLabel();
    window_->Document()->AddTimeLabel();
    const auto& labels = window_->Document()->TimeLabels()->List();
    ASSERT_EQ(labels.size(), 2u);
    const PrintSource source = PrintSourceOf(*window_->Document());
    ASSERT_EQ(source.labels.size(), 2u);
    EXPECT_EQ(source.labels[0], labels[0]->Cht());
    EXPECT_EQ(source.labels[1], labels[1]->Cht());

    PrintDialog& d = Open();
    ShortPages();
    ASSERT_GT(d.Pages().size(), 1u);
    for (const PagePlan& page : d.Pages()) {
        std::vector<int> labelsOnPage;
        for (const PageItem& item : page) {
            if (item.kind == PageItemKind::Label) {
                labelsOnPage.push_back(item.index);
            }
        }
        EXPECT_EQ(labelsOnPage, (std::vector<int>{0, 1}));
    }
}

TEST_F(PrintDialogTest, ChartsAreDrawnIntoTheirPlacesOnThePage) {
    PrintDialog& d = Open();
    const QImage page = d.Preview()->Page(0);
    const double scale = static_cast<double>(page.width()) / d.Device().paper.width();
    const auto inked = [&page](const QRect& rect) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                if (page.pixel(x, y) != qRgb(255, 255, 255)) {
                    return true;
                }
            }
        }
        return false;
    };
    const auto onPreview = [scale](const QRect& rect) {
        return QRect(QPoint(qRound(rect.left() * scale), qRound(rect.top() * scale)),
                     QPoint(qRound(rect.right() * scale) - 1, qRound(rect.bottom() * scale) - 1));
    };
    int bottom = 0;
    for (const PageItem& item : d.Pages()[0]) {
        EXPECT_TRUE(inked(onPreview(item.rect)))
            << static_cast<int>(item.kind) << " " << item.index;
        bottom = std::max(bottom, item.rect.bottom());
    }
    EXPECT_EQ(d.Pages()[0].back().kind, PageItemKind::TimeAxis);
    EXPECT_FALSE(inked(
        QRect(QPoint(0, qRound(bottom * scale) + 2), QPoint(page.width() - 1, page.height() - 1))))
        << "nothing is drawn below the time axis";
}

TEST_F(PrintDialogTest, ThePreviewDrawsThinCurvesAsContinuousLines) {
    PrintDialog& d = Open();
    const QImage page = d.Preview()->Page(0);
    const double scale = static_cast<double>(page.width()) / d.Device().paper.width();
    const PageItem& ia = *std::ranges::find_if(
        d.Pages()[0], [](const PageItem& item) { return item.kind == PageItemKind::Analog; });
    // The first strip's curve is yellow; every column between its ends shows some of it.
    std::vector<bool> curve;
    for (int x = qRound(ia.rect.left() * scale); x < qRound(ia.rect.right() * scale); ++x) {
        bool yellow = false;
        for (int y = qRound(ia.rect.top() * scale); y < qRound(ia.rect.bottom() * scale); ++y) {
            const QColor c = page.pixelColor(x, y);
            // Yellow, faint or under the red cursor line: more green than blue.
            yellow = yellow || (c.green() > 100 && c.blue() + 15 < c.green());
        }
        curve.push_back(yellow);
    }
    const auto first = std::ranges::find(curve, true);
    const auto last = std::ranges::find(curve.rbegin(), curve.rend(), true).base();
    ASSERT_LT(first, last);
    EXPECT_GT(last - first, 100);
    EXPECT_EQ(std::count(first, last, false), 0);
}

TEST_F(PrintDialogTest, CtrlPOpensTheDialogForTheActiveRecord) {
    QString title;
    test::OnModal<PrintDialog>([&title](PrintDialog* dialog) {
        title = dialog->windowTitle();
        dialog->reject();
    });
    QTest::keyClick(main_.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(title, "Настройка печати");
    EXPECT_EQ(main_->Action("actPrint")->text(), "Печать");
}

TEST_F(PrintDialogTest, TheWindowExportsAPdfAndCopiesItsPicture) {
    const QString file = QDir(dir_.path()).filePath("export.pdf");
    window_->SetExportFileChooser([&file] { return file; });
    main_->Action("actExportPdf")->trigger();
    EXPECT_TRUE(messages_.texts.empty());
    if (test::HavePdfTools()) {
        EXPECT_GE(test::PdfPageCount(file), 1);
        EXPECT_TRUE(test::PdfPageText(file, 1).contains(kStation));
    } else {
        EXPECT_TRUE(QFile::exists(file));
    }
    window_->SetExportFileChooser([this] { return QDir(dir_.path()).filePath("none/x.pdf"); });
    main_->Action("actExportPdf")->trigger();
    EXPECT_EQ(messages_.texts.size(), 1u);
    // A device is no file to replace: the export says so instead of reporting nothing.
    window_->SetExportFileChooser([] { return QStringLiteral("/dev/full"); });
    main_->Action("actExportPdf")->trigger();
    ASSERT_EQ(messages_.texts.size(), 2u);
    EXPECT_TRUE(messages_.texts[1].contains("«/dev/full»")) << messages_.texts[1].toStdString();

    QApplication::clipboard()->clear();
    main_->Action("actCopyPicture")->trigger();
    const QImage picture = QApplication::clipboard()->image();
    EXPECT_EQ(picture.size(), window_->size());
    EXPECT_EQ(picture.pixel(window_->width() / 2, 40),
              window_->grab().toImage().pixel(window_->width() / 2, 40));
}

// A printer removed from the system while the dialog shows it.
TEST_F(PrintDialogTest, APrinterThatIsGoneIsTold) {
    const QString queue = "FaultscopeGone";
    const auto lpadmin = [](const QStringList& arguments) {
        QProcess process;
        process.start("lpadmin", arguments);
        return process.waitForFinished(20000) && process.exitCode() == 0;
    };
    if (!QPrinterInfo::availablePrinterNames().contains("PDF") ||
        !lpadmin({"-p", queue, "-v", "cups-pdf:/", "-E", "-P",
                  "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"})) {
        GTEST_SKIP() << "CUPS with its PDF printer is not running, or printers cannot be added "
                        "(scripts/test sets it up as root)";
    }
    PrintDialog& d = Open(queue);
    ASSERT_EQ(Find<QComboBox>("cbbPrinters")->currentText(), queue);
    ASSERT_TRUE(lpadmin({"-x", queue}));
    Click("btnPrint");
    ASSERT_EQ(messages_.texts.size(), 1u);
    EXPECT_TRUE(messages_.texts[0].contains(queue)) << messages_.texts[0].toStdString();
    EXPECT_TRUE(d.isVisible());
}

// The system's CUPS PDF printer: scripts/test installs it and starts the CUPS daemon.
TEST_F(PrintDialogTest, PrintsToTheSystemPdfPrinter) {
    const QString queue = qEnvironmentVariable("FAULTSCOPE_PDF_PRINTER", "PDF");
    if (!QPrinterInfo::availablePrinterNames().contains(queue)) {
        GTEST_SKIP()
            << "no CUPS printer named " << queue.toStdString()
            << ": CUPS is not running or has no PDF printer (scripts/test sets it up as root)";
    }
    if (!test::HavePdfTools()) {
        GTEST_SKIP() << "pdfinfo and pdftotext (poppler-utils) are not installed";
    }
    const QDir out(QDir::homePath() + "/PDF");
    const QStringList before = out.entryList({"*.pdf"}, QDir::Files);
    PrintDialog& d = Open(queue);
    // Another printer puts the margin fields back to its unprintable margins.
    SetField("sePoleLeft", 25);
    Click("btnApply");
    auto* printers = Find<QComboBox>("cbbPrinters");
    printers->setCurrentIndex(printers->findData(QString()));
    printers->setCurrentIndex(printers->findData(queue));
    EXPECT_EQ(Find<QSpinBox>("sePoleLeft")->value(), d.Device().unprintableMm.left());
    EXPECT_EQ(Find<QSpinBox>("sePoleLeft")->minimum(), d.Device().unprintableMm.left());

    QTest::mouseClick(Find<QCheckBox>("chkCaption"), Qt::LeftButton);
    ShortPages();
    const int pages = static_cast<int>(d.Pages().size());
    Click("btnPrint");
    ASSERT_TRUE(messages_.texts.empty()) << messages_.texts.front().toStdString();

    QString written;
    QElapsedTimer waited;
    waited.start();
    while (written.isEmpty() && waited.elapsed() < 60000) {
        QTest::qWait(250);
        for (const QString& file : out.entryList({"*.pdf"}, QDir::Files)) {
            if (!before.contains(file) && test::PdfPageCount(out.filePath(file)) > 0) {
                written = out.filePath(file);
            }
        }
    }
    ASSERT_FALSE(written.isEmpty()) << "the printer wrote no PDF into " << out.path().toStdString();
    EXPECT_EQ(test::PdfPageCount(written), pages);
    // On its way through PostScript the job's text keeps its letters, while the digits may
    // lose their text mapping (they are still printed): compare without digits.
    const auto letters = [](QString text) {
        return text.remove(QRegularExpression("[0-9]")).simplified();
    };
    const QString first = letters(test::PdfPageText(written, 1));
    EXPECT_TRUE(first.contains(letters(kStation))) << first.toStdString();
    EXPECT_TRUE(first.contains(letters(kDevice)));
    QFile::remove(written);
}

}  // namespace
}  // namespace faultscope

namespace faultscope {
namespace {

TEST(PrinterChoice, StartsOnARealPrinterUnlessTheFileWasChosen) {
    const QStringList two = {"Office", "Lab"};
    const struct {
        QStringList printers;
        const char* systemDefault;
        std::optional<QString> chosen;
        int index;
    } cases[] = {
        {two, "Lab", std::nullopt, 1},
        {two, "", std::nullopt, 0},  // no default set: the first printer, not the file
        {two, "Gone", std::nullopt, 0},
        {two, "Lab", QString("Office"), 0},
        {two, "Lab", QString(), 2},  // the file, chosen before in this run
        {two, "Lab", QString("Gone"), 1},
        {{}, "", std::nullopt, 0},  // only the file
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StartPrinterIndex(c.printers, c.systemDefault, c.chosen), c.index)
            << c.printers.join(',').toStdString() << " / " << c.systemDefault;
    }
}

}  // namespace
}  // namespace faultscope
