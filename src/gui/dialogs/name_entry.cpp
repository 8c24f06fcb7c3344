#include "gui/dialogs/name_entry.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace faultscope {

void LayOutNameEntry(QDialog& dialog, const QString& caption, QLineEdit* edt, QPushButton* btnOk,
                     QPushButton* btnCancel) {
    edt->setObjectName("edt");
    btnOk->setObjectName("btnOk");
    btnCancel->setObjectName("btnCancel");
    btnOk->setDefault(true);
    QObject::connect(btnCancel, &QPushButton::clicked, &dialog, &QDialog::reject);

    auto* layout = new QVBoxLayout(&dialog);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(caption, &dialog);
    label->setBuddy(edt);
    row->addWidget(label);
    row->addWidget(edt, 1);
    layout->addLayout(row);
    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    bar->addWidget(btnOk);
    bar->addWidget(btnCancel);
    layout->addLayout(bar);
}

}  // namespace faultscope
