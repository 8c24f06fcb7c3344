#include "gui/views/round_oscil_item.h"

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

}  // namespace

TfrmROscilItem::TfrmROscilItem(QWidget* owner, TAFrame1* chart, std::function<void()> onViewChange)
    : QFrame(owner),
      chk_(new QCheckBox(this)),
      pb_(new QLabel(this)),
      lblName_(new QLabel(this)),
      lblValue_(new QLabel(QStringLiteral("-"), this)),
      btnView_(new QToolButton(this)),
      fAChart_(chart),
      fOnViewChange_(std::move(onViewChange)) {
    setFixedHeight(kHeight);
    setAutoFillBackground(true);
    chk_->setObjectName(QStringLiteral("chk"));
    pb_->setObjectName(QStringLiteral("pb"));
    pb_->setFixedSize(kSwatch, kSwatch);
    QPixmap swatch(kSwatch, kSwatch);
    swatch.fill(chart->Series()->Color());
    pb_->setPixmap(swatch);
    lblName_->setObjectName(QStringLiteral("lblName"));
    lblName_->setText(QString::fromStdString(chart->Info().ch_id));
    lblValue_->setObjectName(QStringLiteral("lblValue"));
    lblValue_->setAlignment(Qt::AlignCenter);
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
    connect(btnView_, &QToolButton::clicked, this, &TfrmROscilItem::btnViewClick);
    iUpdate(0.0);
}

TAFrame1* TfrmROscilItem::AChart() const noexcept {
    return fAChart_;
}

void TfrmROscilItem::iUpdate(double baseAngel) {
    iUpdate(baseAngel, fAChart_ != nullptr ? PhasorAtCursor(*fAChart_) : std::nullopt);
}

void TfrmROscilItem::iUpdate(double baseAngel, const std::optional<PhasorReading>& reading) {
    if (!reading) {
        lblValue_->setText(QStringLiteral("-"));
        return;
    }
    const bool range180 = fAngelView_ == TAngelView::an180;
    const double a = ShownLegendAngle(LegendAngle(reading->angle, baseAngel, range180), range180);
    const double v = fUseCurentValue_ ? reading->rms1 : reading->value;
    lblValue_->setText(FormatPicture(v, u"#######0.##") + QStringLiteral("∠") +
                       FormatPicture(a, u"##0.##") + QStringLiteral("°"));
}

void TfrmROscilItem::SetUseCurentValue(bool value) {
    fUseCurentValue_ = value;
    iUpdate(0.0);
}

void TfrmROscilItem::btnViewClick() {
    viewOnRoundOscil_ = btnView_->isChecked();
    if (fOnViewChange_) {
        fOnViewChange_();
    }
}

}  // namespace faultscope
