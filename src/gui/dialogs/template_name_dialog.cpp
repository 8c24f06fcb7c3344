#include "gui/dialogs/template_name_dialog.h"

#include <QLineEdit>
#include <QPushButton>

#include "core/viewtemplate/template_store.h"
#include "gui/dialogs/name_entry.h"
#include "gui/widgets/message_boxes.h"

namespace faultscope {

TemplateNameDialog::TemplateNameDialog(QWidget* owner, MessageSink* messages)
    : QDialog(owner, kNameEntryFlags),
      edt_(new QLineEdit(this)),
      btnOk_(new QPushButton("Добавить", this)),
      btnCancel_(new QPushButton("Отмена", this)) {
    messages_ = messages;
    setObjectName("frmTemplateNew");
    setWindowTitle("Новый шаблон");
    LayOutNameEntry(*this, "Имя шаблона:", edt_, btnOk_, btnCancel_);
    connect(btnOk_, &QPushButton::clicked, this, &TemplateNameDialog::btnOkClick);
    setFixedSize(229, 85);
}

void TemplateNameDialog::btnOkClick() {
    const QString error = TemplateNameError(edt_->text());
    if (!error.isEmpty()) {
        MessagesOr(messages_).Show(MessageIcon::Warning, "Внимание", error);
        edt_->setFocus();
        return;
    }
    accept();
}

}  // namespace faultscope
