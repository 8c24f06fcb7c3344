#include "gui/dialogs/series_color_row.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

#include "gui/chart/chart.h"
#include "gui/chart/line_series.h"
#include "gui/views/analog_strip.h"
#include "gui/widgets/color_button.h"

namespace faultscope {
namespace {

// The row's background with a flat line along its bottom edge.
class RowPanel : public QFrame {
  public:
    using QFrame::QFrame;

  protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        QPainter p(this);
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(0, height() - 1, width() - 1, height() - 1);
    }
};

}  // namespace

SeriesColorRow::SeriesColorRow(QWidget* parent)
    : QFrame(parent),
      pnl_(new RowPanel(this)),
      lblCaption_(new QLabel(pnl_)),
      btnColor_(new ColorButton(pnl_)) {
    setObjectName(kDesignName);
    pnl_->setObjectName("pnl");
    lblCaption_->setObjectName("lblCaption");
    btnColor_->setObjectName("btnColor");
    setFixedHeight(kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 1, 0, 1);
    outer->addWidget(pnl_);
    auto* row = new QHBoxLayout(pnl_);
    row->setContentsMargins(5, 0, 5, 0);
    lblCaption_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    row->addWidget(lblCaption_, 1);
    row->addWidget(btnColor_, 0, Qt::AlignVCenter);
    connect(btnColor_, &ColorButton::colorChanged, this, &SeriesColorRow::btnColorChange);
}

void SeriesColorRow::AssignFrame(AnalogStrip* value) {
    strip_ = value;
    if (value == nullptr) {
        return;
    }
    lblCaption_->setText(QString::fromStdString(value->Info().ch_id));
    btnColor_->SetColor(value->Series()->Color());
    setObjectName(QString(kDesignName) + QString::number(value->Info().An));
}
void SeriesColorRow::SetBackground(const QColor& color) {
    if (!color.isValid()) {
        setAutoFillBackground(false);
        setPalette(QPalette());
        return;
    }
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, color);
    setPalette(palette);
    setAutoFillBackground(true);
}

void SeriesColorRow::btnColorChange(const QColor& color) {
    if (strip_ == nullptr) {
        return;
    }
    strip_->Series()->SetColor(color);
    strip_->Cht()->update();
}

}  // namespace faultscope
