#include "gui/dialogs/sequence_components_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/widgets/phase_triple_box.h"

namespace faultscope {

SequenceComponentsDialog::SequenceComponentsDialog(const RecordConfig& cfg, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmSequenceComponents"));
    setWindowTitle(QString::fromUtf8(kTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Каналы фаз A, B, C:"), this));
    phases_ = new PhaseTripleBox(cfg, std::nullopt, this);
    layout->addWidget(phases_);
    auto* note = new QLabel(QStringLiteral("Будут созданы графики действующих значений прямой, "
                                           "обратной и утроенной нулевой последовательностей."),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* buttons = new QDialogButtonBox(this);
    btnOk_ = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    btnOk_->setObjectName(QStringLiteral("btnOk"));
    btnOk_->setEnabled(phases_->HasChannels());
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(460, sizeHint().height());
}

PhaseTriple SequenceComponentsDialog::Triple() const {
    return phases_->Triple();
}

}  // namespace faultscope
