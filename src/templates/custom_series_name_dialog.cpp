#include "templates/custom_series_name_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace faultscope {

TfrmCustomSeriesName::TfrmCustomSeriesName(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      edt_(new QLineEdit(this)),
      btnOk_(new QPushButton("Да", this)),
      btnCancel_(new QPushButton("Отмена", this)) {
    setObjectName("frmCustomSeriesName");
    setWindowTitle("Новый график");
    edt_->setObjectName("edt");
    btnOk_->setObjectName("btnOk");
    btnCancel_->setObjectName("btnCancel");
    btnOk_->setDefault(true);
    connect(btnOk_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel("Имя графика:", this);
    label->setBuddy(edt_);
    row->addWidget(label);
    row->addWidget(edt_, 1);
    layout->addLayout(row);
    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    bar->addWidget(btnOk_);
    bar->addWidget(btnCancel_);
    layout->addLayout(bar);
    setFixedSize(252, 82);
}

}  // namespace faultscope
