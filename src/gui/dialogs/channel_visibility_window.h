#pragma once

#include <QStringList>
#include <QWidget>
#include <memory>

#include "core/settings/form_state_store.h"

class QButtonGroup;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QSplitter;
class QTabWidget;

namespace faultscope {

class MessageSink;
class AnalogStripViews;
class DiscreteStripViews;
class DualListBox;
class IniStore;
class SeriesColorRows;
class AnalogStrip;
class AnalogStripList;
class DiscreteStripList;
class ViewTemplate;
class SeriesColorRow;
class VisibilityTemplatePanel;

// "Настройка видимости каналов": which analog and which discrete strips of one record are shown,
// their order (by name or as in the file), one height for all strips of a kind, the named
// visibility templates of each kind and the colours of the analog curves. Every change of
// visibility is applied to the strips at once, in one layout pass, and written to the record's
// view template when there is one.
//
// A tool window of the record window: it stays above it, opens inside it and is destroyed with
// it (or when closed).
// Formerly TfrmChlView.
class ChannelVisibilityWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr char kSection[] = "frmChlView";
    enum class Strips { Analog, Discrete };
    // "Сортировка": the item numbers of the radio groups.
    static constexpr int kSortByName = 0;
    static constexpr int kSortDefault = 1;

    // `settings` may be null (nothing is then remembered).
    // The template lists' messages go to `messages` (boxes over the active window when null).
    ChannelVisibilityWindow(IniStore* settings, QWidget* owner, MessageSink* messages = nullptr);
    ~ChannelVisibilityWindow() override;

    // Binds the window to a record's strip lists and fills every page.
    void Init(AnalogStripList* aList, DiscreteStripList* dList);
    void SetTemplate(ViewTemplate* viewTemplate) noexcept { template_ = viewTemplate; }
    [[nodiscard]] ViewTemplate* Template() const noexcept { return template_; }
    // The time of the record's first sample, in ms: a discrete state taken there is where the
    // channel starts, not a change.
    void SetRecordStart(double firstMs) noexcept { recordStartMs_ = firstMs; }

    [[nodiscard]] QTabWidget* pgc() const noexcept { return pgc_; }
    [[nodiscard]] DualListBox* lstDualA() const noexcept { return lstDualA_; }
    [[nodiscard]] DualListBox* lstDualD() const noexcept { return lstDualD_; }
    [[nodiscard]] QButtonGroup* rgSortA() const noexcept { return rgSortA_; }
    [[nodiscard]] QButtonGroup* rgSortD() const noexcept { return rgSortD_; }
    [[nodiscard]] QSpinBox* seA() const noexcept { return seA_; }
    [[nodiscard]] QSpinBox* seD() const noexcept { return seD_; }
    [[nodiscard]] QPushButton* btnAHApply() const noexcept { return btnAHApply_; }
    [[nodiscard]] QPushButton* btnDHApply() const noexcept { return btnDHApply_; }
    [[nodiscard]] QPushButton* btnOnlyChanged() const noexcept { return btnOnlyChanged_; }
    [[nodiscard]] VisibilityTemplatePanel* ATemplateLst() const noexcept { return ATemplateLst_; }
    [[nodiscard]] QScrollArea* sb() const noexcept { return sb_; }
    [[nodiscard]] SeriesColorRows* ColorRows() const noexcept { return colorRows_; }

    // Fills the analog lists and the colour page from the analog display list.
    void FillAList();
    void FillDList();
    void ApplyDVisible();
    // Shows exactly the channels of a kind a visibility template names (see MatchTemplateNames),
    // hides the rest and applies the result. Names this record lacks are ignored.
    void TemplateApply(Strips kind, const QStringList& names);
    // The names a new template of a kind keeps: the shown channels in list order, bracketed
    // parts cut.
    [[nodiscard]] QStringList TemplateNew(Strips kind) const;
    // "Только сработавшие": shows exactly the discrete channels whose state changes within the
    // record.
    void ShowOnlyChanged();
    // A colour page row for `strip`, below the others.
    SeriesColorRow* AddColorItem(AnalogStrip* strip);
    // "По имени" (kSortByName) or "По умолчанию" (kSortDefault); any other value raises
    // std::invalid_argument("Ошибка выбора метода сортировки").
    void SortStrips(Strips kind, int method);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* BuildListPage(Strips kind);
    QWidget* BuildBottomPanel(Strips kind, QWidget* page);
    VisibilityTemplatePanel* BuildTemplateList(Strips kind, QSplitter* splitter);
    QWidget* BuildColorPage();
    // Gives a template frame its stored width, the dual list the rest of the splitter.
    void RestoreTemplateWidth(QSplitter* splitter, const VisibilityTemplatePanel* frame);
    void FillList(Strips kind);
    void ApplyVisible(Strips kind);
    void ApplyHeight(Strips kind);
    void SortBox(Strips kind);
    // Puts the window inside its owner: the stored placement, or the owner's left edge 25 px
    // below its top; then keeps it within the owner's width and height.
    void FormShow();
    void StoreState();
    [[nodiscard]] DualListBox* DualOf(Strips kind) const {
        return kind == Strips::Analog ? lstDualA_ : lstDualD_;
    }

    IniStore* settings_;
    FormStateStore formStates_;
    QTabWidget* pgc_ = nullptr;
    DualListBox* lstDualA_ = nullptr;
    DualListBox* lstDualD_ = nullptr;
    QButtonGroup* rgSortA_ = nullptr;
    QButtonGroup* rgSortD_ = nullptr;
    QSpinBox* seA_ = nullptr;
    QSpinBox* seD_ = nullptr;
    QPushButton* btnAHApply_ = nullptr;
    QPushButton* btnDHApply_ = nullptr;
    QPushButton* btnOnlyChanged_ = nullptr;
    VisibilityTemplatePanel* ATemplateLst_ = nullptr;
    VisibilityTemplatePanel* DTemplateLst_ = nullptr;
    QScrollArea* sb_ = nullptr;
    SeriesColorRows* colorRows_ = nullptr;
    QSplitter* spl_ = nullptr;
    QSplitter* splD_ = nullptr;
    AnalogStripList* analogStrips_ = nullptr;
    DiscreteStripList* discreteStrips_ = nullptr;
    ViewTemplate* template_ = nullptr;
    std::unique_ptr<AnalogStripViews> aViews_;
    std::unique_ptr<DiscreteStripViews> dViews_;
    double recordStartMs_ = 0.0;
    bool placed_ = false;
    bool stored_ = false;
    MessageSink* messages_ = nullptr;
};

}  // namespace faultscope
