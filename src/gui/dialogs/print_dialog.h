#pragma once

#include <QDialog>
#include <QFont>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/layout/page_layout.h"
#include "core/settings/form_state_store.h"
#include "gui/print/print_source.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPrinter;
class QPushButton;
class QSpinBox;
class QTimer;

namespace faultscope {

class MessageSink;
class IniStore;
class PagePreview;
class RecordDocument;

// A page the preview and the printing lay out on: paper size and resolution of the device and
// its unprintable margins in whole millimetres.
struct PageDevice {
    QSize paper;
    int dpi = 0;
    QMargins unprintableMm;
};

// The print dialog of one record: a live preview of the pages, the printer and its properties,
// the margins, the caption and its font, all pages or the one selected in the preview. Without
// any printer it previews an A4 page at 300 dpi and prints to a PDF file.
// Formerly TfrmPrint.
class PrintDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr char kSection[] = "frmPrint";
    // The last entry of the printer list, after the system's printers.
    static constexpr char kPdfFileEntry[] = "PDF-файл…";

    // `settings` may be null: nothing is then remembered.
    // A print that fails is told through `messages` (boxes over the active window when null).
    PrintDialog(IniStore* settings, RecordDocument* document, QWidget* parent = nullptr,
                MessageSink* messages = nullptr);
    ~PrintDialog() override;

    // Chooses the file for the PDF-file entry; an empty name cancels the printing.
    void SetPdfFileChooser(std::function<QString()> chooser);

    // Lays the pages out again for the current device, margins and caption.
    void RebuildPreview();
    // Prints the pages the page range asks for; false, after telling the user, when the
    // system failed or the user cancelled the file choice.
    bool PrintPages();

    [[nodiscard]] const std::vector<PagePlan>& Pages() const noexcept { return pages_; }
    [[nodiscard]] const PageDevice& Device() const noexcept { return device_; }
    [[nodiscard]] QRect Printable() const;
    [[nodiscard]] const QFont& CaptionFont() const noexcept { return captionFont_; }
    void SetCaptionFont(const QFont& font);
    [[nodiscard]] QString JobName() const;
    [[nodiscard]] PagePreview* Preview() const noexcept { return preview_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

  private:
    void BuildControls();
    QWidget* BuildPrinterGroup();
    QWidget* BuildMarginGroup();
    QWidget* BuildCaptionGroup();
    QWidget* BuildPagesGroup();
    void FillPrinters();
    void AttachPrinter();
    void ShowPrinterProperties();
    void ChooseCaptionFont();
    void Restore();
    void Store();
    [[nodiscard]] QMargins Margins() const;
    [[nodiscard]] std::vector<int> PagesToPrint() const;
    bool PrintTo(QPrinter& printer, const std::vector<int>& pages);
    void ReportError(const QString& text);

    FormStateStore store_;
    RecordDocument* document_;
    std::unique_ptr<QPrinter> printer_;  // null while no printer is attached
    PageDevice device_;
    QMargins margins_;
    PrintSource source_;
    std::vector<PagePlan> pages_;
    QFont captionFont_;
    MessageSink* messages_ = nullptr;
    std::function<QString()> choosePdfFile_;

    QComboBox* cbbPrinters_ = nullptr;
    QPushButton* btnPrinters_ = nullptr;
    QSpinBox* sePoleLeft_ = nullptr;
    QSpinBox* sePoleRight_ = nullptr;
    QSpinBox* sePoleTop_ = nullptr;
    QSpinBox* sePoleBottom_ = nullptr;
    QPushButton* btnApply_ = nullptr;
    QCheckBox* chkCaption_ = nullptr;
    QPushButton* btnCaptionFont_ = nullptr;
    QButtonGroup* rgPages_ = nullptr;
    QPushButton* btnPrint_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
    PagePreview* preview_ = nullptr;
    QTimer* tmr_ = nullptr;
    bool shown_ = false;
};

// Where the printer list of the print dialog starts, for the printers `printers` followed by the
// PDF file: on the printer chosen before in this run (the PDF file when that was it), else on the
// system's default printer, else on the first printer; on the PDF file only when there is no
// printer at all.
[[nodiscard]] int StartPrinterIndex(const QStringList& printers, const QString& systemDefault,
                                    const std::optional<QString>& chosenBefore);

}  // namespace faultscope
