#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace faultscope {

class MessageSink;
// "Новый шаблон": asks for the name of a new visibility template. "Добавить" closes it with OK
// only when the name can name a template; otherwise the user is told why and it stays open.
// Formerly TfrmTemplateNew.
class TemplateNameDialog : public QDialog {
    Q_OBJECT

  public:
    // Its warnings go to `messages` (boxes over the active window when null).
    explicit TemplateNameDialog(QWidget* owner = nullptr, MessageSink* messages = nullptr);

    [[nodiscard]] QLineEdit* edt() const noexcept { return edt_; }
    [[nodiscard]] QPushButton* btnOk() const noexcept { return btnOk_; }
    [[nodiscard]] QPushButton* btnCancel() const noexcept { return btnCancel_; }

  private:
    void btnOkClick();

    QLineEdit* edt_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
    MessageSink* messages_ = nullptr;
};

}  // namespace faultscope
