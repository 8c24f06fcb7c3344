#pragma once

#include "core/settings/form_state_store.h"

#include <QDialog>
#include <QPointer>
#include <functional>

class QButtonGroup;
class QDoubleSpinBox;
class QPushButton;

namespace faultscope {

class IniStore;
class VerticalLine;
enum class LabelField;

// The dialog "Временная метка" of a time label: the two times and their difference, one of them
// held constant while the others are typed; "Применить" puts the lines there and keeps the
// dialog open. It remembers its position and the constant choice.
// Formerly TfrmTLableEdit.
class TimeLabelDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr char kSection[] = "frmTLableEdit";

    // `settings` keeps the dialog's place and choices; null remembers nothing.
    explicit TimeLabelDialog(QWidget* parent = nullptr, IniStore* settings = nullptr);
    ~TimeLabelDialog() override;

    // Fills the fields from the two lines and binds "Применить" to them and to `onChangeValue`.
    // Raises std::out_of_range when the remembered constant choice is not 0..3.
    void Edit(VerticalLine* minLabel, VerticalLine* maxLabel, std::function<void()> onChangeValue);

    [[nodiscard]] QDoubleSpinBox* EdtMin() const noexcept { return edtMin_; }
    [[nodiscard]] QDoubleSpinBox* EdtDelta() const noexcept { return edtDelta_; }
    [[nodiscard]] QDoubleSpinBox* EdtMax() const noexcept { return edtMax_; }
    [[nodiscard]] QButtonGroup* RgConst() const noexcept { return rgConst_; }
    [[nodiscard]] QPushButton* BtnApply() const noexcept { return btnApply_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

  private:
    void SetConstValue();
    void FieldChanged(LabelField field);
    void btnApplyClick();
    [[nodiscard]] QDoubleSpinBox* Field(LabelField field) const;

    FormStateStore store_;
    QDoubleSpinBox* edtMin_;
    QDoubleSpinBox* edtDelta_;
    QDoubleSpinBox* edtMax_;
    QButtonGroup* rgConst_;
    QPushButton* btnApply_;
    QPointer<VerticalLine> minLabel_;
    QPointer<VerticalLine> maxLabel_;
    std::function<void()> onChangeValue_;
    int coupling_ = 0;  // depth of rules answering rules
};

}  // namespace faultscope
