#include "gui/dialogs/formula_channel_name_dialog.h"

#include <QLineEdit>
#include <QPushButton>

#include "gui/dialogs/name_entry.h"

namespace faultscope {

FormulaChannelNameDialog::FormulaChannelNameDialog(QWidget* owner)
    : QDialog(owner, kNameEntryFlags),
      edt_(new QLineEdit(this)),
      btnOk_(new QPushButton("Да", this)),
      btnCancel_(new QPushButton("Отмена", this)) {
    setObjectName("frmCustomSeriesName");
    setWindowTitle("Новый график");
    LayOutNameEntry(*this, "Имя графика:", edt_, btnOk_, btnCancel_);
    connect(btnOk_, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(252, 82);
}

}  // namespace faultscope
