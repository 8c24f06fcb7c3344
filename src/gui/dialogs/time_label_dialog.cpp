#include "gui/dialogs/time_label_dialog.h"

#include "gui/chart/vertical_line.h"
#include "gui/views/time_label_rules.h"

#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace faultscope {
namespace {

// The control whose choice the settings keep.
constexpr char kRgConst[] = "rgConst";

// A chain of rules ends when a field keeps its value; this bound only guards against rounding
// that would never settle.
constexpr int kMaxCoupling = 8;

QDoubleSpinBox* MakeField(const char* name, QWidget* parent) {
    auto* field = new QDoubleSpinBox(parent);
    field->setObjectName(name);
    field->setDecimals(3);
    // No limits of its own: the line rules pull a time outside the record back on Apply.
    constexpr double kLimit = 1e12;
    field->setRange(-kLimit, kLimit);
    field->setKeyboardTracking(false);
    return field;
}

QString ConstKey() {
    return FormStateStore::PropertyKey(kRgConst, QStringLiteral("ItemIndex"));
}

}  // namespace

TimeLabelDialog::TimeLabelDialog(QWidget* parent, IniStore* settings)
    : QDialog(parent),
      store_(settings, kSection, kSection, PlacementOptions{true, false, false}),
      edtMin_(MakeField("edtMin", this)),
      edtDelta_(MakeField("edtDelta", this)),
      edtMax_(MakeField("edtMax", this)),
      rgConst_(new QButtonGroup(this)),
      btnApply_(new QPushButton(QStringLiteral("Применить"), this)) {
    setObjectName(kSection);
    setWindowTitle(QStringLiteral("Временная метка"));
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Начало:"), edtMin_);
    fields->addRow(QStringLiteral("Дельта:"), edtDelta_);
    fields->addRow(QStringLiteral("Конец:"), edtMax_);
    auto* group = new QGroupBox(QStringLiteral("Постоянное значение"), this);
    group->setObjectName(kRgConst);
    auto* choices = new QVBoxLayout(group);
    const char* texts[] = {"Ничего", "Минимальное значение", "Дельта", "Максимальное значение"};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(texts[i]), group);
        rgConst_->addButton(button, i);
        choices->addWidget(button);
    }
    btnApply_->setObjectName(QStringLiteral("btnApply"));
    btnApply_->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(group);
    layout->addWidget(btnApply_, 0, Qt::AlignRight);

    connect(edtMin_, &QDoubleSpinBox::valueChanged, this,
            [this] { FieldChanged(LabelField::Min); });
    connect(edtDelta_, &QDoubleSpinBox::valueChanged, this,
            [this] { FieldChanged(LabelField::Delta); });
    connect(edtMax_, &QDoubleSpinBox::valueChanged, this,
            [this] { FieldChanged(LabelField::Max); });
    connect(rgConst_, &QButtonGroup::idClicked, this, [this] { SetConstValue(); });
    connect(btnApply_, &QPushButton::clicked, this, &TimeLabelDialog::btnApplyClick);
}

TimeLabelDialog::~TimeLabelDialog() = default;

void TimeLabelDialog::Edit(VerticalLine* minLabel, VerticalLine* maxLabel,
                           std::function<void()> onChangeValue) {
    const int item = store_.ReadInteger(ConstKey(), 0);
    if (item < 0 || item > 3) {
        throw std::out_of_range(kBadConstMessage);
    }
    minLabel_ = minLabel;
    maxLabel_ = maxLabel;
    // The label's own values first: a held field would otherwise drag the others along while
    // they are filled one by one.
    coupling_ = kMaxCoupling;
    edtMin_->setValue(minLabel->Value());
    edtMax_->setValue(maxLabel->Value());
    edtDelta_->setValue(edtMax_->value() - edtMin_->value());
    coupling_ = 0;
    rgConst_->button(item)->setChecked(true);
    onChangeValue_ = std::move(onChangeValue);
    SetConstValue();
}

QDoubleSpinBox* TimeLabelDialog::Field(LabelField field) const {
    switch (field) {
        case LabelField::Min:
            return edtMin_;
        case LabelField::Delta:
            return edtDelta_;
        case LabelField::Max:
            break;
    }
    return edtMax_;
}

void TimeLabelDialog::SetConstValue() {
    const int item = rgConst_->checkedId();
    if (item < 0 || item > 3) {
        throw std::out_of_range(kBadConstMessage);
    }
    edtMin_->setReadOnly(item == 1);
    edtDelta_->setReadOnly(item == 2);
    edtMax_->setReadOnly(item == 3);
}

void TimeLabelDialog::FieldChanged(LabelField field) {
    const int item = rgConst_->checkedId();
    if (item < 0 || coupling_ >= kMaxCoupling) {
        return;
    }
    const auto change =
        CoupledField(item, field, edtMin_->value(), edtDelta_->value(), edtMax_->value());
    if (!change) {
        return;
    }
    ++coupling_;
    Field(change->field)->setValue(change->value);
    --coupling_;
}

void TimeLabelDialog::btnApplyClick() {
    // A value typed but not yet confirmed with Enter counts.
    for (QDoubleSpinBox* field : {edtMin_, edtDelta_, edtMax_}) {
        field->interpretText();
    }
    if (minLabel_ == nullptr || maxLabel_ == nullptr) {
        return;
    }
    maxLabel_->SetValue(edtMax_->value());
    minLabel_->SetValue(edtMin_->value());
    if (onChangeValue_) {
        onChangeValue_();
    }
}

void TimeLabelDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const WindowPlacement placement = store_.RestorePlacement({geometry(), WindowState::Normal});
    move(placement.rect.topLeft());
}

void TimeLabelDialog::done(int result) {
    store_.StorePlacement({geometry(), WindowState::Normal});
    store_.WriteInteger(ConstKey(), rgConst_->checkedId());
    QDialog::done(result);
}

}  // namespace faultscope
