#pragma once

#include <QDialog>
#include <QStringList>

#include "core/viewtemplate/saved_functions.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QWidget;

namespace faultscope {

class MessageSink;
// "Создать функцию": makes or edits one entry of the saved-function list, with the reference
// text of the formula language on its right. The list belongs to the caller and changes when
// the dialog ends with OK.
// Formerly TfrmNewFunction.
class FunctionEditorDialog : public QDialog {
    Q_OBJECT

  public:
    // Its warnings go to `messages` (boxes over the active window when null).
    FunctionEditorDialog(QWidget* owner, QStringList* list, MessageSink* messages = nullptr);

    void SetMode(FunctionEditMode mode);

    [[nodiscard]] QLineEdit* edtName() const noexcept { return edtName_; }
    [[nodiscard]] QPlainTextEdit* mmBody() const noexcept { return mmBody_; }
    [[nodiscard]] QPlainTextEdit* mmAngle() const noexcept { return mmAngle_; }
    [[nodiscard]] QPlainTextEdit* mmDescription() const noexcept { return mmDescription_; }
    [[nodiscard]] QPushButton* btnOk() const noexcept { return btnOk_; }
    [[nodiscard]] QPushButton* btnCancel() const noexcept { return btnCancel_; }
    [[nodiscard]] QLabel* lblHelp() const noexcept { return lblHelp_; }
    // The parse fault of the formulas as they are typed; empty while they translate.
    [[nodiscard]] QLabel* lblFault() const noexcept { return lblFault_; }
    [[nodiscard]] QWidget* pnlMain() const noexcept { return pnlMain_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildLeft();
    void BuildRight();
    QPlainTextEdit* Memo(const char* name);
    void FormulaChanged();
    void btnOkClick();

    QStringList* functions_;
    FunctionEditMode mode_ = FunctionEditMode::iNew;
    QWidget* pnlMain_ = nullptr;
    QWidget* pnlRight_ = nullptr;
    QLineEdit* edtName_ = nullptr;
    QPlainTextEdit* mmBody_ = nullptr;
    QPlainTextEdit* mmAngle_ = nullptr;
    QPlainTextEdit* mmDescription_ = nullptr;
    QLabel* lblFault_ = nullptr;
    QLabel* lblHelp_ = nullptr;
    QScrollArea* sb_ = nullptr;
    QPushButton* btnOk_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
    MessageSink* messages_ = nullptr;
};

// A caption bar of the formula dialogs: cream, with a thin frame.
QLabel* CaptionBar(const QString& text, const char* name, QWidget* parent);

// The "Создать" / "Отмена" row at the foot of the formula dialogs, pressed to the right; the
// buttons are handed back through `ok` and `cancel`.
QWidget* CreateCancelBar(QWidget* parent, int topMargin, QPushButton*& ok, QPushButton*& cancel);

}  // namespace faultscope
