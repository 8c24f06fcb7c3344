#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace faultscope {

// "Новый график": asks for the name of a new formula channel.
// Formerly TfrmCustomSeriesName.
class FormulaChannelNameDialog : public QDialog {
    Q_OBJECT

  public:
    explicit FormulaChannelNameDialog(QWidget* owner = nullptr);

    [[nodiscard]] QLineEdit* edt() const noexcept { return edt_; }
    [[nodiscard]] QPushButton* btnOk() const noexcept { return btnOk_; }
    [[nodiscard]] QPushButton* btnCancel() const noexcept { return btnCancel_; }

  private:
    QLineEdit* edt_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
};

}  // namespace faultscope
