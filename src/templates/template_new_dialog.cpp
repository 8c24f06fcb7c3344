#include "templates/template_new_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "templates/message_boxes.h"
#include "templates/template_store.h"

namespace faultscope {

TfrmTemplateNew::TfrmTemplateNew(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      edt_(new QLineEdit(this)),
      btnOk_(new QPushButton("Добавить", this)),
      btnCancel_(new QPushButton("Отмена", this)) {
    setObjectName("frmTemplateNew");
    setWindowTitle("Новый шаблон");
    edt_->setObjectName("edt");
    btnOk_->setObjectName("btnOk");
    btnCancel_->setObjectName("btnCancel");
    btnOk_->setDefault(true);
    connect(btnOk_, &QPushButton::clicked, this, &TfrmTemplateNew::btnOkClick);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel("Имя шаблона:", this);
    label->setBuddy(edt_);
    row->addWidget(label);
    row->addWidget(edt_, 1);
    layout->addLayout(row);
    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    bar->addWidget(btnOk_);
    bar->addWidget(btnCancel_);
    layout->addLayout(bar);
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
