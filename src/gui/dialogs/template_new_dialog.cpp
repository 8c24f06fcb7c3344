#include "gui/dialogs/template_new_dialog.h"

#include <QLineEdit>
#include <QPushButton>

#include "core/viewtemplate/template_store.h"
#include "gui/dialogs/message_boxes.h"
#include "gui/dialogs/name_entry.h"

namespace faultscope {

TfrmTemplateNew::TfrmTemplateNew(QWidget* owner)
    : QDialog(owner, kNameEntryFlags),
      edt_(new QLineEdit(this)),
      btnOk_(new QPushButton("Добавить", this)),
      btnCancel_(new QPushButton("Отмена", this)) {
    setObjectName("frmTemplateNew");
    setWindowTitle("Новый шаблон");
    LayOutNameEntry(*this, "Имя шаблона:", edt_, btnOk_, btnCancel_);
    connect(btnOk_, &QPushButton::clicked, this, &TfrmTemplateNew::btnOkClick);
    setFixedSize(229, 85);
}

void TfrmTemplateNew::btnOkClick() {
    const QString error = TemplateNameError(edt_->text());
    if (!error.isEmpty()) {
        ShowMessageBox(this, MessageIcon::Warning, "Внимание", error);
        edt_->setFocus();
        return;
    }
    accept();
}

}  // namespace faultscope
