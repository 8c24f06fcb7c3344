#include "gui/dialogs/print_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "gui/document/record_document.h"
#include "gui/print/page_painter.h"
#include "gui/print/page_preview.h"
#include "gui/widgets/message_boxes.h"

namespace faultscope {
namespace {

// Names of the controls whose state the settings keep.
constexpr char kChkCaption[] = "chkCaption";
constexpr char kRgPages[] = "rgPages";
constexpr char kDlgFont[] = "dlgFont";

constexpr int kMaxMarginMm = 300;
constexpr int kRebuildDelayMs = 1000;
constexpr double kPreviewScale = 0.32;
constexpr int kPreviewSupersample = 6;
constexpr int kPdfDpi = 300;

// The page assumed until a printer is attached: A4 at 300 dpi with 40-pixel unprintable
// margins (3 mm).
PageDevice DefaultPageDevice() {
    return {QSize(2480, 3507), 300, QMargins(3, 3, 3, 3)};
}

// The printer chosen last in this run, and the page settings its properties gave; they
// outlast the dialog.
struct ApplicationPrinter {
    bool chosen = false;
    QString name;  // empty: the PDF file
    QPageLayout layout;
    bool layoutSet = false;
};

ApplicationPrinter& Chosen() {
    static ApplicationPrinter printer;
    return printer;
}

PageDevice DeviceOf(QPrinter& printer) {
    printer.setFullPage(true);
    PageDevice device;
    device.paper = printer.paperRect(QPrinter::DevicePixel).toAlignedRect().size();
    device.dpi = printer.resolution();
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QMarginsF min = layout.minimumMargins();
    const auto mm = [](double v) { return static_cast<int>(std::lround(v)); };
    device.unprintableMm =
        QMargins(mm(min.left()), mm(min.top()), mm(min.right()), mm(min.bottom()));
    return device;
}

QSpinBox* MarginField(const char* name, QWidget* parent) {
    auto* field = new QSpinBox(parent);
    field->setObjectName(name);
    field->setRange(0, kMaxMarginMm);
    return field;
}

}  // namespace

PrintDialog::PrintDialog(IniStore* settings, RecordDocument* document, QWidget* parent,
                         MessageSink* messages)
    : QDialog(parent),
      store_(settings, FormStateStore::kFormNamePlaceholder, kSection,
             PlacementOptions{false, true, false}),
      document_(document),
      device_(DefaultPageDevice()),
      margins_(device_.unprintableMm),
      captionFont_(DefaultCaptionFont()) {
    messages_ = messages;
    setObjectName(kSection);
    setWindowTitle("Настройка печати");
    tmr_ = new QTimer(this);
    tmr_->setObjectName("tmr");
    tmr_->setSingleShot(true);
    tmr_->setInterval(kRebuildDelayMs);
    connect(tmr_, &QTimer::timeout, this, &PrintDialog::RebuildPreview);
    BuildControls();
    resize(1000, 640);
    Restore();
}

PrintDialog::~PrintDialog() = default;

void PrintDialog::SetPdfFileChooser(std::function<QString()> chooser) {
    choosePdfFile_ = std::move(chooser);
}

void PrintDialog::BuildControls() {
    auto* controls = new QHBoxLayout;
    controls->addWidget(BuildPrinterGroup());
    controls->addWidget(BuildMarginGroup());
    controls->addWidget(BuildCaptionGroup());
    controls->addWidget(BuildPagesGroup());
    controls->addStretch(1);

    preview_ = new PagePreview(this);
    btnPrint_ = new QPushButton("Печать", this);
    btnPrint_->setObjectName("btnPrint");
    btnCancel_ = new QPushButton("Отмена", this);
    btnCancel_->setObjectName("btnCancel");
    connect(btnPrint_, &QPushButton::clicked, this, [this] { PrintPages(); });
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnPrint_);
    buttons->addWidget(btnCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(preview_, 1);
    layout->addLayout(buttons);
}

QWidget* PrintDialog::BuildPrinterGroup() {
    auto* group = new QGroupBox("Выберете принтер: ", this);
    cbbPrinters_ = new QComboBox(group);
    cbbPrinters_->setObjectName("cbbPrinters");
    cbbPrinters_->setMinimumWidth(180);
    btnPrinters_ = new QPushButton("Свойства", group);
    btnPrinters_->setObjectName("btnPrinters");
    connect(btnPrinters_, &QPushButton::clicked, this, &PrintDialog::ShowPrinterProperties);
    auto* layout = new QFormLayout(group);
    layout->addRow("Имя: ", cbbPrinters_);
    layout->addRow(btnPrinters_);
    return group;
}

QWidget* PrintDialog::BuildMarginGroup() {
    auto* group = new QGroupBox("Поля:", this);
    sePoleLeft_ = MarginField("sePoleLeft", group);
    sePoleRight_ = MarginField("sePoleRight", group);
    sePoleTop_ = MarginField("sePoleTop", group);
    sePoleBottom_ = MarginField("sePoleButtom", group);
    btnApply_ = new QPushButton("Применить", group);
    btnApply_->setObjectName("btnApply");
    connect(btnApply_, &QPushButton::clicked, this, [this] {
        margins_ = QMargins(sePoleLeft_->value(), sePoleTop_->value(), sePoleRight_->value(),
                            sePoleBottom_->value());
        RebuildPreview();
    });
    auto* layout = new QGridLayout(group);
    layout->addWidget(new QLabel("Левое:", group), 0, 0);
    layout->addWidget(sePoleLeft_, 0, 1);
    layout->addWidget(new QLabel("Правое:", group), 0, 2);
    layout->addWidget(sePoleRight_, 0, 3);
    layout->addWidget(new QLabel("Верхнее:", group), 1, 0);
    layout->addWidget(sePoleTop_, 1, 1);
    layout->addWidget(new QLabel("Нижнее:", group), 1, 2);
    layout->addWidget(sePoleBottom_, 1, 3);
    layout->addWidget(btnApply_, 2, 0, 1, 4);
    return group;
}

QWidget* PrintDialog::BuildCaptionGroup() {
    auto* group = new QGroupBox("Заголовок:", this);
    chkCaption_ = new QCheckBox("Печать заголовка", group);
    chkCaption_->setObjectName(kChkCaption);
    connect(chkCaption_, &QCheckBox::toggled, this, &PrintDialog::RebuildPreview);
    btnCaptionFont_ = new QPushButton("Шрифт", group);
    btnCaptionFont_->setObjectName("btnCaptionFont");
    connect(btnCaptionFont_, &QPushButton::clicked, this, &PrintDialog::ChooseCaptionFont);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(chkCaption_);
    layout->addWidget(btnCaptionFont_);
    return group;
}

QWidget* PrintDialog::BuildPagesGroup() {
    auto* group = new QGroupBox("Печатать страницы:", this);
    group->setObjectName(kRgPages);
    rgPages_ = new QButtonGroup(group);
    auto* layout = new QVBoxLayout(group);
    const char* const items[] = {"Все ", "Текущая"};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QRadioButton(items[i], group);
        rgPages_->addButton(button, i);
        layout->addWidget(button);
    }
    rgPages_->button(0)->setChecked(true);
    return group;
}

void PrintDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) {
        return;
    }
    shown_ = true;
    tmr_->start();
    FillPrinters();
    AttachPrinter();
    connect(cbbPrinters_, &QComboBox::currentIndexChanged, this, &PrintDialog::AttachPrinter);
}

void PrintDialog::FillPrinters() {
    cbbPrinters_->clear();
    for (const QString& name : QPrinterInfo::availablePrinterNames()) {
        cbbPrinters_->addItem(name, name);
    }
    cbbPrinters_->addItem(kPdfFileEntry, QString());
    const ApplicationPrinter& chosen = Chosen();
    cbbPrinters_->setCurrentIndex(
        StartPrinterIndex(QPrinterInfo::availablePrinterNames(), QPrinterInfo::defaultPrinterName(),
                          chosen.chosen ? std::optional<QString>(chosen.name) : std::nullopt));
}

int StartPrinterIndex(const QStringList& printers, const QString& systemDefault,
                      const std::optional<QString>& chosenBefore) {
    // The list holds the printers, then the PDF file, whose name is empty.
    if (chosenBefore) {
        if (chosenBefore->isEmpty()) {
            return static_cast<int>(printers.size());
        }
        if (const qsizetype at = printers.indexOf(*chosenBefore); at >= 0) {
            return static_cast<int>(at);
        }
    }
    // A system without a default printer names none: the first real printer, not the file.
    const qsizetype at = systemDefault.isEmpty() ? -1 : printers.indexOf(systemDefault);
    return at >= 0 ? static_cast<int>(at) : 0;
}

void PrintDialog::AttachPrinter() {
    const QString name = cbbPrinters_->currentData().toString();
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (name.isEmpty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setResolution(kPdfDpi);
        printer->setPageSize(QPageSize(QPageSize::A4));
    } else {
        printer->setPrinterName(name);
    }
    ApplicationPrinter& chosen = Chosen();
    if (chosen.chosen && chosen.name == name && chosen.layoutSet) {
        printer->setPageLayout(chosen.layout);
    }
    chosen.chosen = true;
    chosen.name = name;
    printer_ = std::move(printer);
    device_ = DeviceOf(*printer_);
    margins_ = device_.unprintableMm;
    const std::pair<QSpinBox*, int> fields[] = {{sePoleLeft_, margins_.left()},
                                                {sePoleRight_, margins_.right()},
                                                {sePoleTop_, margins_.top()},
                                                {sePoleBottom_, margins_.bottom()}};
    for (const auto& [field, value] : fields) {
        field->setMinimum(std::min(value, kMaxMarginMm));
        field->setValue(value);
    }
    RebuildPreview();
    tmr_->start();
}

void PrintDialog::ShowPrinterProperties() {
    if (printer_ == nullptr) {
        return;
    }
    QPageSetupDialog dialog(printer_.get(), this);
    if (dialog.exec() == QDialog::Accepted) {
        ApplicationPrinter& chosen = Chosen();
        chosen.layout = printer_->pageLayout();
        chosen.layoutSet = true;
    }
    AttachPrinter();
}

void PrintDialog::ChooseCaptionFont() {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, captionFont_, this, "Шрифт");
    if (ok) {
        SetCaptionFont(font);
    }
}

void PrintDialog::SetCaptionFont(const QFont& font) {
    captionFont_ = font;
    RebuildPreview();
}

QRect PrintDialog::Printable() const {
    return PrintableRect(device_.paper, device_.dpi, margins_);
}

void PrintDialog::RebuildPreview() {
    setUpdatesEnabled(false);
    source_ = document_ != nullptr ? PrintSourceOf(*document_) : PrintSource{};
    pages_ =
        LayoutRecord(source_, {Printable(), device_.dpi, chkCaption_->isChecked(), captionFont_});
    const double scale = logicalDpiX() * kPreviewScale / device_.dpi;
    const QSize size(std::max(1, static_cast<int>(std::lround(device_.paper.width() * scale))),
                     std::max(1, static_cast<int>(std::lround(device_.paper.height() * scale))));
    const QFont font = PageCaptionFont(captionFont_, device_.dpi);
    std::vector<QImage> pictures;
    for (const PagePlan& page : pages_) {
        // Drawn larger and then made smaller smoothly: a curve thinner than a pixel of the
        // preview stays a continuous line instead of falling apart into dots.
        QImage picture(size * kPreviewSupersample, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.scale(scale * kPreviewSupersample, scale * kPreviewSupersample);
        PaintPage(painter, page, source_, font);
        painter.end();
        pictures.push_back(picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    preview_->SetPages(std::move(pictures));
    setUpdatesEnabled(true);
}

QString PrintDialog::JobName() const {
    const QString device = document_ != nullptr
                               ? QString::fromStdString(document_->ConfigFile().rec_dev_id)
                               : QString();
    return "Осцилограмма " + device;
}

std::vector<int> PrintDialog::PagesToPrint() const {
    if (rgPages_->checkedId() == 1) {
        return {std::clamp(preview_->SelectedPage(), 0, static_cast<int>(pages_.size()) - 1)};
    }
    std::vector<int> all(pages_.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        all[i] = static_cast<int>(i);
    }
    return all;
}

bool PrintDialog::PrintPages() {
    if (printer_ == nullptr) {
        AttachPrinter();
    }
    if (printer_->outputFormat() == QPrinter::PdfFormat) {
        const QString file = choosePdfFile_
                                 ? choosePdfFile_()
                                 : QFileDialog::getSaveFileName(this, "Печать в файл",
                                                                JobName() + ".pdf", "PDF (*.pdf)");
        if (file.isEmpty()) {
            return false;
        }
        printer_->setOutputFileName(file);
    }
    return PrintTo(*printer_, PagesToPrint());
}

bool PrintDialog::PrintTo(QPrinter& printer, const std::vector<int>& pages) {
    printer.setDocName(JobName());
    printer.setFullPage(true);
    const QString target = printer.outputFormat() == QPrinter::PdfFormat
                               ? "файл «" + printer.outputFileName() + "»"
                               : "принтер «" + printer.printerName() + "»";
    if (printer.outputFormat() == QPrinter::NativeFormat &&
        !QPrinterInfo::availablePrinterNames().contains(printer.printerName())) {
        ReportError("Принтер «" + printer.printerName() + "» больше не доступен в системе.");
        return false;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        ReportError("Не удалось начать печать на " + target + ".");
        return false;
    }
    const QFont font = PageCaptionFont(captionFont_, device_.dpi);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer.newPage()) {
            painter.end();
            ReportError("Печать прервана: " + target + " не принял страницу " +
                        QString::number(pages[i] + 1) + ".");
            return false;
        }
        PaintPage(painter, pages_.at(static_cast<std::size_t>(pages[i])), source_, font);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        ReportError("Не удалось завершить печать на " + target + ".");
        return false;
    }
    return true;
}

void PrintDialog::ReportError(const QString& text) {
    MessagesOr(messages_).Show(MessageIcon::Error, QStringLiteral("Ошибка"), text);
}

void PrintDialog::Restore() {
    const WindowPlacement placement = store_.RestorePlacement({geometry(), WindowState::Normal});
    resize(placement.rect.size());
    chkCaption_->setChecked(
        store_.ReadBool(FormStateStore::PropertyKey(kChkCaption, "Checked"), false));
    QFont font;
    const QString stored = store_.ReadString(FormStateStore::PropertyKey(kDlgFont, "Font"));
    if (!stored.isEmpty() && font.fromString(stored)) {
        captionFont_ = font;
    }
    const int pages = store_.ReadInteger(FormStateStore::PropertyKey(kRgPages, "ItemIndex"), 0);
    rgPages_->button(pages == 1 ? 1 : 0)->setChecked(true);
}

void PrintDialog::Store() {
    store_.StorePlacement({geometry(), WindowState::Normal});
    store_.WriteBool(FormStateStore::PropertyKey(kChkCaption, "Checked"), chkCaption_->isChecked());
    store_.WriteString(FormStateStore::PropertyKey(kDlgFont, "Font"), captionFont_.toString());
    store_.WriteInteger(FormStateStore::PropertyKey(kRgPages, "ItemIndex"), rgPages_->checkedId());
}

void PrintDialog::done(int result) {
    Store();
    tmr_->stop();
    QDialog::done(result);
}

}  // namespace faultscope
