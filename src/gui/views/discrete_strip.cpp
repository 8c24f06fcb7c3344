#include "gui/views/discrete_strip.h"

#include "gui/chart/area_series.h"
#include "gui/chart/chart.h"
#include "gui/chart/horizontal_line.h"
#include "gui/chart/text_block.h"
#include "gui/chart/vertical_line.h"
#include "gui/views/strip_plot.h"

#include <QEvent>
#include <QVBoxLayout>
#include <algorithm>

namespace faultscope {
namespace {

// The name ends before the plot; a longer one is cut with "…" (the tool tip shows it whole).
constexpr QRect kCaptionRect(5, 0, kStripPlotLeft - 5 - 4, 12);

}  // namespace

DiscreteStrip::DiscreteStrip(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    cht_ = new Chart(this);
    cht_->setObjectName(QStringLiteral("cht"));
    cht_->SetMargins(QMargins(kStripPlotLeft, 0, 2, 0));
    cht_->SetBackground(palette().color(QPalette::Window));
    faultscope::Axis* levels = cht_->LeftAxis();
    levels->SetRange(-1.0, 1.0);
    levels->SetEndOffsets(2, 2);
    levels->SetIncrement(1.0);
    levels->SetLabelsVisible(false);
    levels->SetGridVisible(false);
    cht_->BottomAxis()->SetVisible(false);
    layout->addWidget(cht_);

    series_ = new AreaSeries(cht_);
    series_->SetColor(QColor(128, 128, 128));
    cht_->AddSeries(series_);
    axis_ = new HorizontalLine(cht_);
    axis_->SetValue(0.0);
    cht_->AddTool(axis_);
    // The cursor is drawn over the middle line.
    cursor_ = new VerticalLine(cht_);
    cursor_->SetColor(Qt::red);
    cursor_->SetWidth(2);
    cursor_->SetDraggable(false);
    cht_->AddTool(cursor_);
    annotation_ = new TextBlock(cht_);
    annotation_->SetTransparent(true);
    annotation_->SetRect(kCaptionRect);
    annotation_->SetElided(true);
    cht_->AddTool(annotation_);

    connect(cht_, &Chart::clicked, this, [this](QPointF pos, Qt::MouseButton button) {
        if (button == Qt::LeftButton) {
            emit chtClick(cht_, pos);
        }
    });
    connect(cht_, &Chart::resized, this, &DiscreteStrip::chtResize);
    connect(cht_, &Chart::mouseEntered, this, &DiscreteStrip::FrameMouseEnter);
    connect(cht_, &Chart::mouseLeft, this, &DiscreteStrip::FrameMouseLeave);
    SetHeight(kDesignHeight);
}

void DiscreteStrip::Init(faultscope::Axis* bottomAxis) {
    cht_->SetBottomAxis(bottomAxis);
    series_->Clear();
    cursor_->SetActive(true);
}

void DiscreteStrip::SetInfo(const DigitalChannel& value) {
    digital_ = value;
    const QString id = QString::fromStdString(value.ch_id);
    annotation_->SetText(id);
    cht_->setToolTip(id);
}

void DiscreteStrip::SetColumns(const DiscreteColumns& columns) {
    columns_ = &columns;
    // State 1 at kLevelOn, state 0 at kLevelOff: 6·state − 5.
    constexpr RawScale kPlotLevels{kLevelOn - kLevelOff, kLevelOff, 0.0, 1.0};
    series_->SetData(columns.x, SampleColumn(std::span<const double>(columns.state), kPlotLevels));
    cursor_->SetValue(0.0);
}

void DiscreteStrip::SetHeight(int height) {
    setFixedHeight(std::max(height, 1));
}

void DiscreteStrip::SetHighlighted(bool highlighted) {
    highlighted_ = highlighted;
    const QPalette& colors = palette();
    annotation_->SetTransparent(!highlighted);
    annotation_->SetFillColor(colors.color(QPalette::Highlight));
    annotation_->SetTextColor(highlighted ? colors.color(QPalette::HighlightedText)
                                          : QColor(Qt::black));
}

void DiscreteStrip::chtResize() {
    // The name grows and shrinks with the strip; the block is as high as its text, since text
    // outside it would be cut off.
    const int height = cht_->height();
    annotation_->SetFontPixelHeight(height);
    annotation_->SetRect(
        QRect(kCaptionRect.topLeft(),
              QSize(kCaptionRect.width(), std::max(kCaptionRect.height(), height))));
}

void DiscreteStrip::FrameMouseEnter() {
    hovered_ = true;
    cht_->SetBackground(HoverColor());
}

void DiscreteStrip::FrameMouseLeave() {
    hovered_ = false;
    cht_->SetBackground(palette().color(QPalette::Window));
}

void DiscreteStrip::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && !hovered_) {
        cht_->SetBackground(palette().color(QPalette::Window));
    }
}

}  // namespace faultscope
