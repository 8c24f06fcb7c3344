#include "gui/views/phasor_legend_row.h"

#include "core/analysis/phasor_math.h"
#include "gui/chart/line_series.h"
#include "gui/chart/number_format.h"
#include "gui/views/analog_strip.h"
#include "gui/views/phasor_source.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QToolButton>

namespace faultscope {
namespace {

constexpr int kSwatch = 23;
constexpr int kNameWidth = 150;

}  // namespace

PhasorLegendRow::PhasorLegendRow(QWidget* owner, AnalogStrip* chart,
                                 std::function<void()> onViewChange)
    : QFrame(owner),
      chk_(new QCheckBox(this)),
      pb_(new QLabel(this)),
      lblName_(new QLabel(this)),
      lblValue_(new QLabel(QStringLiteral("-"), this)),
      btnView_(new QToolButton(this)),
      aChart_(chart),
      onViewChange_(std::move(onViewChange)) {
    setFixedHeight(kHeight);
    setAutoFillBackground(true);
    chk_->setObjectName(QStringLiteral("chk"));
    pb_->setObjectName(QStringLiteral("pb"));
    pb_->setFixedSize(kSwatch, kSwatch);
    QPixmap swatch(kSwatch, kSwatch);
    swatch.fill(chart->Series()->Color());
    pb_->setPixmap(swatch);
    lblName_->setObjectName(QStringLiteral("lblName"));
    // The name with its unit: the arrows of different kinds are scaled each on its own.
    const QString unit = QString::fromStdString(chart->Info().uu).trimmed();
    const QString name = QString::fromStdString(chart->Info().ch_id) +
                         (unit.isEmpty() ? QString() : QStringLiteral(", ") + unit);
    // A relay's long channel names would push the values out of the legend: shortened in the
    // middle, the unit stays in sight and the whole name is in the tool tip.
    lblName_->setText(lblName_->fontMetrics().elidedText(name, Qt::ElideMiddle, kNameWidth));
    lblName_->setToolTip(name);
    lblValue_->setObjectName(QStringLiteral("lblValue"));
    lblValue_->setAlignment(Qt::AlignCenter);
    lblValue_->setMinimumWidth(
        lblValue_->fontMetrics().horizontalAdvance(QStringLiteral("-5357.55∠-179.99°")));
    btnView_->setObjectName(QStringLiteral("btnView"));
    btnView_->setCheckable(true);
    btnView_->setChecked(true);
    btnView_->setAutoRaise(true);
    btnView_->setFixedWidth(18);
    btnView_->setText(QStringLiteral("◉"));
    btnView_->setToolTip(QStringLiteral("Скрыть/показать канал"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(3);
    row->addWidget(chk_);
    row->addWidget(pb_);
    row->addWidget(lblName_);
    row->addWidget(lblValue_, 1);
    row->addWidget(btnView_);
    connect(chk_, &QCheckBox::clicked, this,
            [this](bool checked) { emit baseArrowChange(this, checked); });
    connect(btnView_, &QToolButton::clicked, this, &PhasorLegendRow::btnViewClick);
    iUpdate(0.0);
}

AnalogStrip* PhasorLegendRow::AChart() const noexcept {
    return aChart_;
}

void PhasorLegendRow::iUpdate(double baseAngle) {
    iUpdate(baseAngle, aChart_ != nullptr ? PhasorAtCursor(*aChart_) : std::nullopt);
}

void PhasorLegendRow::iUpdate(double baseAngle, const std::optional<PhasorReading>& reading) {
    if (!reading) {
        lblValue_->setText(QStringLiteral("-"));
        return;
    }
    if (reading->overGap) {
        lblValue_->setText(QStringLiteral("нет данных"));
        return;
    }
    const bool range180 = angleView_ == AngleMode::an180;
    const double a = ShownLegendAngle(LegendAngle(reading->angle, baseAngle, range180), range180);
    const double v = useCurrentValue_ ? reading->rms1 : reading->value;
    lblValue_->setText(FormatPicture(v, u"#######0.##") + QStringLiteral("∠") +
                       FormatPicture(a, u"##0.##") + QStringLiteral("°"));
}

void PhasorLegendRow::SetUseCurrentValue(bool value) {
    useCurrentValue_ = value;
    iUpdate(0.0);
}

void PhasorLegendRow::btnViewClick() {
    viewOnPhasorPanel_ = btnView_->isChecked();
    if (onViewChange_) {
        onViewChange_();
    }
}

}  // namespace faultscope
