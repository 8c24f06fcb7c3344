#include "gui/dialogs/save_fragment_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/chart/number_format.h"

namespace faultscope {

SaveFragmentDialog::SaveFragmentDialog(std::vector<FragmentInterval> intervals,
                                       bool hasFormulaChannels, QWidget* parent)
    : QDialog(parent),
      intervals_(std::move(intervals)),
      interval_(new QComboBox(this)),
      comtrade_(new QRadioButton(QStringLiteral("COMTRADE 1999 (.cfg, .dat)"), this)),
      csv_(new QRadioButton(QStringLiteral("CSV: время и значения показанных каналов"), this)),
      formulas_(new QCheckBox(QStringLiteral("Добавить формульные каналы как аналоговые"), this)) {
    setObjectName(QStringLiteral("frmSaveFragment"));
    setWindowTitle(QStringLiteral("Сохранить фрагмент"));
    interval_->setObjectName(QStringLiteral("cbInterval"));
    for (const FragmentInterval& i : intervals_) {
        interval_->addItem(
            QStringLiteral("%1: %2 … %3 мс")
                .arg(i.name, FormatPicture(i.fromMs, u"0.###"), FormatPicture(i.toMs, u"0.###")));
    }
    comtrade_->setObjectName(QStringLiteral("rbComtrade"));
    csv_->setObjectName(QStringLiteral("rbCsv"));
    formulas_->setObjectName(QStringLiteral("cbFormulaChannels"));
    comtrade_->setChecked(true);
    formulas_->setEnabled(hasFormulaChannels);
    connect(csv_, &QRadioButton::toggled, this, [this, hasFormulaChannels](bool csv) {
        formulas_->setEnabled(hasFormulaChannels && !csv);
    });

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Интервал:"), interval_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(comtrade_);
    layout->addWidget(formulas_);
    layout->addWidget(csv_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

const FragmentInterval& SaveFragmentDialog::Interval() const {
    return intervals_.at(static_cast<std::size_t>(std::max(0, interval_->currentIndex())));
}

bool SaveFragmentDialog::Csv() const {
    return csv_->isChecked();
}

bool SaveFragmentDialog::WithFormulaChannels() const {
    return !Csv() && formulas_->isEnabled() && formulas_->isChecked();
}

}  // namespace faultscope
