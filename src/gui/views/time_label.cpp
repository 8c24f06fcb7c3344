#include "gui/views/time_label.h"

#include "gui/chart/axis.h"
#include "gui/chart/chart.h"
#include "gui/chart/number_format.h"
#include "gui/chart/text_block.h"
#include "gui/chart/vertical_line.h"
#include "gui/views/label_color_pool.h"
#include "gui/views/time_label_rules.h"
#include "gui/views/time_line.h"

#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace faultscope {
namespace {

constexpr int kCloseWidth = 14;
constexpr int kLineWidth = 2;
constexpr QRect kDeltaRect(20, 0, 70, 18);

int NextLabelNumber() {
    static int number = 0;
    return number++;
}

VerticalLine* MakeLine(QObject* owner, const QColor& color) {
    auto* line = new VerticalLine(owner);
    line->SetWidth(kLineWidth);
    line->SetColor(color);
    line->SetCap(Qt::FlatCap);
    return line;
}

// The whole record: the range of the time line's overview.
LabelSpan RecordSpan(const TimeLine* timeLine) {
    const Axis* overview = timeLine->XZoomControl()->BottomAxis();
    return {overview->Minimum(), overview->Maximum()};
}

}  // namespace

TimeLabel::TimeLabel(QWidget* parent)
    : QFrame(parent),
      cht_(new Chart(this)),
      btnClose2_(new QToolButton(this)),
      btnValues_(new QToolButton(this)) {
    setFrameShape(QFrame::NoFrame);
    setFixedHeight(kDesignHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cht_);
    cht_->setObjectName(QStringLiteral("cht"));
    cht_->LeftAxis()->SetVisible(false);
    cht_->LeftAxis()->SetRange(0.0, 1.0);
    cht_->BottomAxis()->SetVisible(false);
    cht_->SetBackground(palette().color(QPalette::Window));
    btnClose2_->setObjectName(QStringLiteral("btnClose2"));
    btnClose2_->setAutoRaise(true);
    btnClose2_->setText(QStringLiteral("×"));
    btnClose2_->setGeometry(0, 0, kCloseWidth, kDesignHeight);
    btnClose2_->raise();
    btnValues_->setObjectName(QStringLiteral("btnValues"));
    btnValues_->setAutoRaise(true);
    btnValues_->setText(kValuesCaption);
    btnValues_->setToolTip(QStringLiteral("Значения каналов на линиях метки"));
    btnValues_->setFixedHeight(kDesignHeight);
    btnValues_->raise();
    BuildLines();
    connect(btnClose2_, &QToolButton::clicked, this, [this] { emit timeLabelClose(this); });
    connect(btnValues_, &QToolButton::clicked, this, [this] { emit valuesRequested(this); });
    connect(cht_, &Chart::beforeSeries, this, &TimeLabel::PaintBar);
    connect(cht_, &Chart::mousePressed, this, [this](QPointF pos) { ChtMouseDown(pos); });
    connect(cht_, &Chart::mouseMoved, this, &TimeLabel::ChtMouseMove);
    connect(cht_, &Chart::mouseReleased, this, [this] { ChtMouseUp(); });
    connect(cht_, &Chart::doubleClicked, this, [this] { emit editRequested(this); });
}

void TimeLabel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    // At the right end, over the plot's margin, clear of the lines' tags.
    btnValues_->adjustSize();
    btnValues_->move(width() - btnValues_->width(), 0);
}

TimeLabel::~TimeLabel() {
    if (colors_ != nullptr) {
        colors_->Release(labelColor_);
    }
}

void TimeLabel::BuildLines() {
    cursor_ = MakeLine(cht_, Qt::red);
    cursor_->setObjectName(QStringLiteral("Cursor"));
    lineLeft_ = MakeLine(cht_, Qt::black);
    lineLeft_->setObjectName(QStringLiteral("LineLeft"));
    lineRight_ = MakeLine(cht_, Qt::black);
    lineRight_->setObjectName(QStringLiteral("LineRigth"));
    const QString format = QStringLiteral("#,##0.###");
    lineLeft_->SetTagAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lineRight_->SetTagAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (VerticalLine* line : {lineLeft_, lineRight_}) {
        line->SetDraggable(true);
        line->SetTagVisible(true);
        line->SetTagFormat(format);
        cht_->AddTool(line);
    }
    cht_->AddTool(cursor_);
    lblDelta_ = new TextBlock(cht_);
    lblDelta_->setObjectName(QStringLiteral("lblDelta"));
    lblDelta_->SetRect(kDeltaRect);
    lblDelta_->SetTransparent(true);
    lblDelta_->SetFrameVisible(false);
    cht_->AddTool(lblDelta_);

    connect(lineLeft_, &VerticalLine::dragged, this, [this] {
        startDrag_ = false;
        CheckLineLeft();
    });
    connect(lineRight_, &VerticalLine::dragged, this, [this] {
        startDrag_ = false;
        CheckLineRight();
    });
    connect(lineLeft_, &VerticalLine::dragEnded, this, &TimeLabel::LineLeftDragEnd);
    connect(lineRight_, &VerticalLine::dragEnded, this, &TimeLabel::LineRightDragEnd);
}

void TimeLabel::Init(TimeLine* timeLine, std::shared_ptr<LabelColorPool> colors) {
    setObjectName(QStringLiteral("TimeLable") + QString::number(NextLabelNumber()));
    timeLine_ = timeLine;
    Chart* line = timeLine->Cht();
    cht_->setFont(line->font());
    // The plot takes the time line's pixel columns, so that a column means one time in both.
    QMargins margins = line->Margins();
    margins.setTop(0);
    margins.setBottom(0);
    cht_->SetMargins(margins);
    cht_->SetBottomAxis(timeLine->BottomAxis());
    colors_ = std::move(colors);
    labelColor_ = colors_->Take();
    const QColor color = ToQColor(labelColor_);
    const Axis* axis = timeLine->BottomAxis();
    lineLeft_->SetColor(color);
    lineLeft_->SetValue(axis->Minimum());
    lineRight_->SetColor(color);
    lineRight_->SetValue(axis->Maximum());
    cursor_->SetValue(timeLine->CursorValue());
    const int quarter = kDesignHeight / 4;
    middleRect_ = QRect(QPoint(0, quarter), QPoint(-1, 3 * quarter - 1));
    SetDeltaText();
}

void TimeLabel::AddTimeLabelToCht(Chart* chtForLine) {
    const auto copy = [this, chtForLine](const char* name, const VerticalLine* of) {
        VerticalLine* line = MakeLine(this, of->Color());
        line->setObjectName(QLatin1String(name) + QString::number(lineId_));
        line->SetDraggable(false);
        line->SetValue(of->Value());
        chtForLine->AddTool(line);
        return line;
    };
    leftLines_.push_back(copy("LeftLine", lineLeft_));
    rightLines_.push_back(copy("RigthLine", lineRight_));
    ++lineId_;
}

void TimeLabel::OnZoom() {
    cht_->update();
}

double TimeLabel::NearestSampleTime(double x) const {
    double nearest = x;
    if (timeLine_ != nullptr) {
        timeLine_->NearestSample(x, nearest);
    }
    return nearest;
}

void TimeLabel::CheckLineLeft() {
    if (timeLine_ == nullptr) {
        return;
    }
    const double snapped = NearestSampleTime(lineLeft_->Value());
    lineLeft_->SetValue(LeftLinePlace(snapped, lineRight_->Value(), RecordSpan(timeLine_)));
    emit linesMoved(this);
}

void TimeLabel::CheckLineRight() {
    if (timeLine_ == nullptr) {
        return;
    }
    const double snapped = NearestSampleTime(lineRight_->Value());
    lineRight_->SetValue(RightLinePlace(snapped, lineLeft_->Value(), RecordSpan(timeLine_)));
    emit linesMoved(this);
}

void TimeLabel::LineLeftDragEnd() {
    for (VerticalLine* line : leftLines_) {
        line->SetValue(lineLeft_->Value());
    }
    SetDeltaText();
}

void TimeLabel::LineRightDragEnd() {
    for (VerticalLine* line : rightLines_) {
        line->SetValue(lineRight_->Value());
    }
    SetDeltaText();
}

void TimeLabel::SetDeltaText() {
    lblDelta_->SetText(QStringLiteral("∆T= ") +
                       FormatPicture(lineRight_->Value() - lineLeft_->Value(), u""));
}

void TimeLabel::PaintBar(QPainter& painter, const PlotGeometry& geometry) {
    const Axis* axis = geometry.x;
    const double axisMin = geometry.XToPixel(axis->Minimum());
    const double axisMax = geometry.XToPixel(axis->Maximum());
    const double middle = std::floor(geometry.plot.top() + geometry.plot.height() / 2.0);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(QPointF(axisMin, middle), QPointF(axisMax, middle));
    double left = geometry.XToPixel(lineLeft_->Value()) + lineLeft_->Width();
    double right = geometry.XToPixel(lineRight_->Value()) - lineRight_->Width();
    left = std::max(left, axisMin);
    right = std::min(right, axisMax);
    // Only the strip's own picture decides where the bar can be grabbed; a copy drawn into an
    // image or onto a page has pixels of its own.
    if (painter.device() == cht_) {
        middleRect_.setLeft(static_cast<int>(std::lround(left)));
        middleRect_.setRight(static_cast<int>(std::lround(right)) - 1);
    }
    if (right > left) {
        const QRectF bar(QPointF(left, middleRect_.top()),
                         QPointF(right, middleRect_.bottom() + 1));
        painter.fillRect(bar, ToQColor(labelColor_));
    }
}

double TimeLabel::TimeAt(double pixel) const {
    return cht_->PixelToX(pixel);
}

void TimeLabel::ChtMouseDown(QPointF pos) {
    if (!middleRect_.contains(pos.toPoint())) {
        return;
    }
    startDrag_ = true;
    deltaMin_ = TimeAt(pos.x()) - TimeAt(middleRect_.left());
    deltaMax_ = TimeAt(middleRect_.right() + 1) - TimeAt(pos.x());
}

void TimeLabel::ChtMouseMove(QPointF pos) {
    if (!startDrag_) {
        return;
    }
    const double t = TimeAt(pos.x());
    lineLeft_->SetValue(t - deltaMin_);
    lineRight_->SetValue(t + deltaMax_);
    CheckLineLeft();
    CheckLineRight();
}

void TimeLabel::ChtMouseUp() {
    if (startDrag_) {
        LineLeftDragEnd();
        LineRightDragEnd();
    }
    startDrag_ = false;
}

void TimeLabel::ApplyDialogValues() {
    CheckLineLeft();
    CheckLineRight();
    LineLeftDragEnd();
    LineRightDragEnd();
}

}  // namespace faultscope
