#include "gui/views/time_line.h"

#include "core/record/nearest_sample.h"
#include "core/record/time_base.h"
#include "gui/chart/axis.h"
#include "gui/chart/band.h"
#include "gui/chart/chart.h"
#include "gui/chart/text_block.h"
#include "gui/chart/vertical_line.h"

#include <QFont>
#include <QLocale>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

namespace faultscope {
namespace {

constexpr int kUpperChartHeight = 49;
// The plot begins and ends where the strips' plots do.
constexpr int kPlotLeft = 224;
constexpr int kPlotRight = 2;
constexpr int kAxisEndOffset = 50;
constexpr int kPlotTop = 2;
constexpr int kLabelsHeight = 20;  // below the plot, for the time axis labels
constexpr int kCursorWidth = 2;
// One wheel notch narrows the visible range to this share of its width.
constexpr double kWheelZoomStep = 0.8;

const QColor kLightGrey(234, 234, 234);
const QColor kGrid(169, 169, 169);
const QColor kAxisLine(64, 64, 64);
const QColor kCursorColor(Qt::red);
const QColor kLineMinColor(Qt::blue);
const QColor kLineMaxColor(0, 0, 160);

// The first character of a date or time pattern that is neither a field letter, a blank nor
// a quote; `fallback` when there is none or it is not a plain ASCII character.
char PatternSeparator(const QString& pattern, char fallback) {
    for (const QChar c : pattern) {
        if (c.isLetter() || c.isSpace() || c == u'\'') {
            continue;
        }
        return c.unicode() > 0x20 && c.unicode() < 0x7f ? static_cast<char>(c.unicode()) : fallback;
    }
    return fallback;
}

}  // namespace

QString RecordTimeText(const DateTime& time, bool microseconds) {
    const QLocale locale = QLocale::system();
    const char dateSep = PatternSeparator(locale.dateFormat(QLocale::ShortFormat), '.');
    const char timeSep = PatternSeparator(locale.timeFormat(QLocale::ShortFormat), ':');
    return QString::fromStdString(microseconds
                                      ? FormatRecordTimeMicroseconds(time, dateSep, timeSep)
                                      : FormatRecordTime(time, dateSep, timeSep));
}

QString SampleTimeText(const TimeBase& timeBase, std::int32_t timeUs) {
    return RecordTimeText(DateTime::FromMicroseconds(timeBase.AbsoluteMicroseconds(timeUs)), true);
}

namespace {

QFont ChartFont() {
    QFont font(QStringLiteral("Verdana"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

void SetUpLook(Chart& chart) {
    chart.setFont(ChartFont());
    chart.SetBackgroundGradient(Qt::white, kLightGrey);
    chart.SetGridPen(QPen(kGrid, 1));
    chart.SetAxisPen(QPen(kAxisLine, 1));
    chart.SetMargins(QMargins(kPlotLeft, kPlotTop, kPlotRight, kLabelsHeight));
    chart.LeftAxis()->SetVisible(false);
}

TextBlock* MakeText(const QRect& rect) {
    auto* text = new TextBlock;
    text->SetRect(rect);
    text->SetTransparent(true);
    text->SetFrameVisible(false);
    return text;
}

VerticalLine* MakeLine(const QColor& color) {
    auto* line = new VerticalLine;
    line->SetColor(color);
    line->SetWidth(kCursorWidth);
    line->SetDraggable(false);
    return line;
}

}  // namespace

TimeLine::TimeLine(QWidget* parent)
    : QWidget(parent),
      cht_(new Chart(this)),
      cursor_(MakeLine(kCursorColor)),
      chtXZoomControl_(new Chart(this)),
      area_(new Band),
      cursorZoom_(MakeLine(kCursorColor)),
      lineMin_(MakeLine(kLineMinColor)),
      lineMax_(MakeLine(kLineMaxColor)),
      minTime_(MakeText(QRect(5, 10, 160, 18))),
      trigger_(MakeText(QRect(5, 30, 160, 18))),
      maxTime_(MakeText(QRect(5, 0, 160, 18))),
      cursorTime_(MakeText(QRect(5, 18, 220, 18))) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(cht_);
    layout->addWidget(chtXZoomControl_, 1);
    SetUpCharts();
    SetUpTools();
    connect(cht_, &Chart::clicked, this, [this](QPointF pos, Qt::MouseButton button) {
        if (button == Qt::LeftButton) {
            emit chartClicked(pos);
        }
    });
    connect(area_, &Band::dragged, this, &TimeLine::BandMoved);
    connect(area_, &Band::resized, this, &TimeLine::BandMoved);
    connect(area_, &Band::released, this, &TimeLine::BandReleased);
    clock_.start();
}

void TimeLine::SetUpCharts() {
    cht_->setObjectName(QStringLiteral("cht"));
    cht_->setFixedHeight(kUpperChartHeight);
    SetUpLook(*cht_);
    BottomAxis()->SetEndOffsets(kAxisEndOffset, kAxisEndOffset);

    chtXZoomControl_->setObjectName(QStringLiteral("chtXZoomControl"));
    SetUpLook(*chtXZoomControl_);
    chtXZoomControl_->BottomAxis()->SetLabelsVisible(false);
}

void TimeLine::SetUpTools() {
    cursor_->setObjectName(QStringLiteral("Cursor"));
    cursor_->SetTagVisible(true);
    cursor_->SetTagAlignment(Qt::AlignHCenter | Qt::AlignTop);
    cursor_->SetTagFormat(QStringLiteral("0.###"));
    cht_->AddTool(cursor_);
    cht_->AddTool(minTime_);
    cht_->AddTool(trigger_);

    // The overview's tools mean nothing until the whole record is known.
    area_->setObjectName(QStringLiteral("Area"));
    lineMin_->setObjectName(QStringLiteral("LineMin"));
    lineMax_->setObjectName(QStringLiteral("LineMax"));
    cursorZoom_->setObjectName(QStringLiteral("CursorZoom"));
    lineMin_->SetTagVisible(true);
    lineMin_->SetTagAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lineMax_->SetTagVisible(true);
    lineMax_->SetTagAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (Tool* tool : std::initializer_list<Tool*>{area_, lineMin_, lineMax_, cursorZoom_}) {
        tool->SetActive(false);
        chtXZoomControl_->AddTool(tool);
    }
    chtXZoomControl_->AddTool(maxTime_);
    cursorTime_->setObjectName(QStringLiteral("CursorTime"));
    chtXZoomControl_->AddTool(cursorTime_);
}

void TimeLine::CreateTimeLine(const TimeBase& timeBase) {
    firstTime_ = timeBase.FirstTime();
    zeroTimeUs_ = timeBase.AbsoluteMicroseconds(0);
    minTime_->SetText(QStringLiteral("Tмин  = ") + RecordTimeText(timeBase.FirstTime()));
    trigger_->SetText(QStringLiteral("Tсраб = ") + RecordTimeText(timeBase.TriggerTime()));
    const double min = timeBase.AxisMin();
    BottomAxis()->SetRange(min, std::max(min, timeBase.AxisMax()));
}

void TimeLine::SetSamples(std::span<const double> xMs, bool ascending) {
    xMs_ = xMs;
    ascending_ = ascending;
}

void TimeLine::AfterAllDataLoad() {
    Axis* overview = chtXZoomControl_->BottomAxis();
    overview->Assign(*BottomAxis());
    const QMargins upper = cht_->Margins();
    QMargins margins = chtXZoomControl_->Margins();
    margins.setLeft(upper.left());
    margins.setRight(upper.right());
    chtXZoomControl_->SetMargins(margins);

    const double min = overview->Minimum();
    const double max = overview->Maximum();
    zoom_.Reset(min, max);
    area_->SetRange(min, max);
    lineMin_->SetValue(min);
    lineMax_->SetValue(max);
    const auto spanMs = static_cast<std::int64_t>(std::llround(max - min));
    maxTime_->SetText(QStringLiteral("Tмакс = ") + RecordTimeText(DateTime::FromMilliseconds(
                                                       firstTime_.ToMilliseconds() + spanMs)));
    for (Tool* tool : chtXZoomControl_->Tools()) {
        tool->SetActive(true);
    }
    loaded_ = true;
}

void TimeLine::AreaResized() {
    if (!loaded_) {
        return;
    }
    zoom_.AreaResized(area_->Start(), area_->End());
    ApplyZoom();
}

void TimeLine::ZoomIn() {
    if (!loaded_) {
        return;
    }
    const TimeRange left = VisibleRange();
    const bool cursorShown = zoom_.InView(cursor_->Value());
    zoom_.ZoomIn();
    // Zooming about the middle must not lose the cursor the user was looking at.
    if (cursorShown) {
        zoom_.KeepInView(cursor_->Value());
    }
    ApplyUserZoom(left, TimeRangeHistory::Change::Single);
}

void TimeLine::ZoomOut() {
    if (!loaded_) {
        return;
    }
    const TimeRange left = VisibleRange();
    const bool cursorShown = zoom_.InView(cursor_->Value());
    zoom_.ZoomOut();
    if (cursorShown) {
        zoom_.KeepInView(cursor_->Value());
    }
    ApplyUserZoom(left, TimeRangeHistory::Change::Single);
}

void TimeLine::ShowTime(double x) {
    const TimeRange left = VisibleRange();
    if (loaded_ && zoom_.KeepInView(x)) {
        ApplyUserZoom(left, TimeRangeHistory::Change::CursorKey);
    }
}

void TimeLine::ShowRange(double start, double end) {
    if (!loaded_) {
        return;
    }
    const TimeRange left = VisibleRange();
    zoom_.ShowRange(start, end);
    ApplyUserZoom(left, TimeRangeHistory::Change::Single);
}

void TimeLine::ZoomAbout(double x, int notches) {
    if (!loaded_ || notches == 0) {
        return;
    }
    const TimeRange left = VisibleRange();
    zoom_.ZoomAbout(x, std::pow(kWheelZoomStep, notches));
    ApplyUserZoom(left, TimeRangeHistory::Change::Wheel);
}

bool TimeLine::Back() {
    const std::optional<TimeRange> range = history_.Pop();
    if (!range) {
        return false;
    }
    zoom_.areaMin = range->start;
    zoom_.areaMax = range->end;
    ApplyZoom();
    emit historyChanged();
    return true;
}

void TimeLine::BandMoved() {
    if (!bandLeft_) {
        bandLeft_ = VisibleRange();
    }
    AreaResized();
}

void TimeLine::BandReleased() {
    if (bandLeft_) {
        Remember(*std::exchange(bandLeft_, std::nullopt), TimeRangeHistory::Change::Single);
    }
}

void TimeLine::ZoomReset() {
    if (!loaded_) {
        return;
    }
    const TimeRange left = VisibleRange();
    zoom_.ZoomReset();
    ApplyUserZoom(left, TimeRangeHistory::Change::Single);
}

void TimeLine::ApplyZoom() {
    area_->SetRange(zoom_.areaMin, zoom_.areaMax);
    // The axis refuses a minimum above its maximum, so the bound that keeps the order goes
    // first.
    Axis* axis = BottomAxis();
    if (zoom_.areaMin > axis->Maximum()) {
        axis->SetMaximum(zoom_.areaMax);
        axis->SetMinimum(zoom_.areaMin);
    } else {
        axis->SetMinimum(zoom_.areaMin);
        axis->SetMaximum(zoom_.areaMax);
    }
    emit xZoom();
}

void TimeLine::ApplyUserZoom(TimeRange left, TimeRangeHistory::Change change) {
    ApplyZoom();
    Remember(left, change);
}

void TimeLine::Remember(TimeRange left, TimeRangeHistory::Change change) {
    if (left == VisibleRange()) {
        return;
    }
    if (history_.Push(left, change, clock_.elapsed())) {
        emit historyChanged();
    }
}

std::ptrdiff_t TimeLine::NearestSampleInView(double x, double& nearest) const {
    const Axis* axis = BottomAxis();
    const std::ptrdiff_t i =
        faultscope::NearestSample(xMs_, ascending_, x, axis->Minimum(), axis->Maximum());
    nearest = i >= 0 ? xMs_[static_cast<std::size_t>(i)] : x;
    return i;
}

std::ptrdiff_t TimeLine::NearestSample(double x, double& nearest) const {
    const std::ptrdiff_t i = faultscope::NearestSample(xMs_, ascending_, x);
    nearest = i >= 0 ? xMs_[static_cast<std::size_t>(i)] : x;
    return i;
}

void TimeLine::SetCursor(double x) {
    cursor_->SetValue(x);
    cursorZoom_->SetValue(x);
    cursorTime_->SetText(QStringLiteral("Tкурс = ") + RecordTimeText(CursorDateTime(), true));
}

DateTime TimeLine::CursorDateTime() const {
    return DateTime::FromMicroseconds(zeroTimeUs_ + std::llround(cursor_->Value() * 1000.0));
}

QString TimeLine::CursorTimeText() const {
    return cursorTime_->Text();
}

double TimeLine::CursorValue() const {
    return cursor_->Value();
}

Axis* TimeLine::BottomAxis() const {
    return cht_->BottomAxis();
}

QString TimeLine::MinTimeText() const {
    return minTime_->Text();
}

QString TimeLine::TriggerText() const {
    return trigger_->Text();
}

QString TimeLine::MaxTimeText() const {
    return maxTime_->Text();
}

}  // namespace faultscope
