#pragma once

#include <QDialog>
#include <QStringList>
#include <array>
#include <vector>

#include "core/formula/formula_library.h"
#include "core/formula/formula_program.h"
#include "core/settings/form_state_store.h"
#include "core/viewtemplate/saved_functions.h"

class QComboBox;
class QLineEdit;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace faultscope {

class MessageSink;
class FormulaChannelHost;
class IniStore;
class AnalogStrip;
class AnalogStripList;
class ViewTemplate;

// "Создать график": builds a formula channel of the open record from up to five of its analog
// channels (S1…S5) and one of the saved functions, then records it in the record's template.
// The saved functions are read from the settings file when the dialog is made and written back
// when it goes.
// Formerly TfrmCustomSeries.
class FormulaChannelDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr char kSection[] = "frmCustomSeries";
    static constexpr int kSlots = 5;

    // `aChtList` gives the source channels, `addNewCht` makes the new channel; `settings` may be
    // null (nothing is then remembered).
    FormulaChannelDialog(QWidget* owner, AnalogStripList* aChtList, FormulaChannelHost* addNewCht,
                         IniStore* settings, MessageSink* messages = nullptr);
    ~FormulaChannelDialog() override;

    void SetTemplate(ViewTemplate* viewTemplate) noexcept { template_ = viewTemplate; }
    [[nodiscard]] ViewTemplate* Template() const noexcept { return template_; }

    [[nodiscard]] QComboBox* cbbSeries(int slot) const { return cbbSeries_.at(slot); }
    [[nodiscard]] QComboBox* cbbFunction() const noexcept { return cbbFunction_; }
    [[nodiscard]] QPlainTextEdit* mmBody() const noexcept { return mmBody_; }
    [[nodiscard]] QPlainTextEdit* mmAngle() const noexcept { return mmAngle_; }
    [[nodiscard]] QLabel* lblDescriptionInfo() const noexcept { return lblDescriptionInfo_; }
    [[nodiscard]] QLabel* lblFault() const noexcept { return lblFault_; }
    [[nodiscard]] QLineEdit* edtUnit() const noexcept { return edtUnit_; }
    [[nodiscard]] QPushButton* btnOk() const noexcept { return btnOk_; }
    [[nodiscard]] QPushButton* btnCancel() const noexcept { return btnCancel_; }
    [[nodiscard]] QPushButton* btnNewFunction() const noexcept { return btnNewFunction_; }
    [[nodiscard]] QPushButton* btnEditFunction() const noexcept { return btnEditFunction_; }
    [[nodiscard]] QPushButton* btnDeleteFunction() const noexcept { return btnDeleteFunction_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void BuildLeft(QWidget* pnlLeft);
    void BuildRight(QWidget* pnlRight);
    void FormStatesAfterRestorePlacement();
    void cbbSeriesSelect(int slot);
    void cbbFunctionSelect();
    void LoadFunctions();
    void btnNewFunctionClick();
    void btnEditFunctionClick();
    void btnDeleteFunctionClick();
    void btnOkClick();
    void CreateChannel(const QString& name);
    void ShowFault();
    void FormDestroy();

    std::array<QComboBox*, kSlots> cbbSeries_{};
    QComboBox* cbbFunction_ = nullptr;
    QPlainTextEdit* mmBody_ = nullptr;
    QPlainTextEdit* mmAngle_ = nullptr;
    QLabel* lblDescriptionInfo_ = nullptr;
    QLabel* lblFault_ = nullptr;
    QLineEdit* edtUnit_ = nullptr;
    bool unitTyped_ = false;  // the unit no longer follows the first source
    QPushButton* btnOk_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
    QPushButton* btnNewFunction_ = nullptr;
    QPushButton* btnEditFunction_ = nullptr;
    QPushButton* btnDeleteFunction_ = nullptr;

    FormulaProgram program_;
    FormStateStore formStates_;
    IniStore* settings_;
    QStringList functions_;
    bool listRead_ = false;
    bool restored_ = false;
    FormulaChannelHost* formulaHost_;
    std::vector<FormulaSlot> formulaSlots_;
    std::vector<AnalogStrip*> slotStrips_;
    AnalogStripList* analogStrips_;
    ViewTemplate* template_ = nullptr;
    MessageSink* messages_ = nullptr;
};

}  // namespace faultscope
