#include "gui/views/analog_strip.h"

#include "core/record/load_error.h"
#include "gui/chart/axis_scroll_bar.h"
#include "gui/chart/chart.h"
#include "gui/chart/line_series.h"
#include "gui/chart/number_format.h"
#include "gui/chart/text_block.h"
#include "gui/chart/vertical_line.h"
#include "gui/views/readout_text.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>
#include <optional>
#include <stdexcept>

namespace faultscope {
namespace {

constexpr int kGripHeight = 2;
constexpr QRect kCaptionRect(5, 5, 130, 22);
constexpr int kReadoutLeft = 10;
constexpr int kReadoutTop = 35;
constexpr int kReadoutWidth = 140;
constexpr int kTextPixels = 13;
const QColor kCaptionFill(199, 220, 252);
// The user may scroll the value range this many value units beyond the data.
constexpr double kScrollReserve = 10.0;

bool ContainsLetter(std::string_view text, char lower) {
    return std::ranges::any_of(
        text, [lower](char c) { return std::tolower(static_cast<unsigned char>(c)) == lower; });
}

}  // namespace

QColor SeriesColorForPhase(std::string_view ph) {
    if (ContainsLetter(ph, 'a')) {
        return QColor(255, 255, 0);
    }
    if (ContainsLetter(ph, 'b')) {
        return QColor(0, 128, 0);
    }
    if (ContainsLetter(ph, 'c')) {
        return QColor(255, 0, 0);
    }
    return QColor(0, 0, 128);
}

AnalogStrip::AnalogStrip(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildChart();
    BuildSeries();
    BuildTools();
    pnlResize_ = new QWidget(this);
    pnlResize_->setObjectName(QStringLiteral("pnlResize"));
    pnlResize_->setFixedHeight(kGripHeight);
    pnlResize_->setCursor(Qt::SplitVCursor);
    pnlResize_->setAutoFillBackground(true);
    pnlResize_->setBackgroundRole(QPalette::Mid);
    pnlResize_->installEventFilter(this);
    layout->addWidget(cht_, 1);
    layout->addWidget(pnlResize_);
    SetHeight(kDesignHeight);
}

void AnalogStrip::BuildChart() {
    cht_ = new Chart(this);
    cht_->setObjectName(QStringLiteral("cht"));
    cht_->SetMargins(QMargins(kStripPlotLeft, 2, 2, 0));
    cht_->SetGridPen(QPen(QColor(169, 169, 169), 1, Qt::DashLine));
    Axis* values = cht_->LeftAxis();
    // Plain digits, as the readouts have: a group separator would read as a decimal comma.
    values->SetLabelFormat(QStringLiteral("0.##"));
    values->SetEndOffsets(10, 10);
    // Labels right-aligned in the 50 pixels left of the scroll bar.
    values->SetLabelInset(19);
    cht_->BottomAxis()->SetVisible(false);
    connect(cht_, &Chart::clicked, this, [this](QPointF pos, Qt::MouseButton button) {
        if (button == Qt::LeftButton) {
            emit chtClick(cht_, pos);
        }
    });
    connect(cht_, &Chart::resized, this, &AnalogStrip::chtResize);
    cht_->installEventFilter(this);
}

void AnalogStrip::BuildSeries() {
    series_ = new LineSeries(cht_);
    cht_->AddSeries(series_);
    const auto result = [this](const QColor& color) {
        auto* series = new LineSeries(cht_);
        series->SetColor(color);
        series->SetActive(false);
        cht_->AddSeries(series);
        return series;
    };
    sCurrent1_ = result(Qt::black);
    sCurrent2_ = result(Qt::blue);
    sCurrent3_ = result(QColor(0, 128, 192));
    sCurrent5_ = result(QColor(128, 128, 128));
    sAngle_ = result(QColor(255, 0, 255));
}

void AnalogStrip::BuildTools() {
    cursor_ = new VerticalLine(cht_);
    cursor_->SetColor(Qt::red);
    cursor_->SetWidth(2);
    cursor_->SetCap(Qt::RoundCap);
    cursor_->SetDraggable(false);
    cht_->AddTool(cursor_);

    axScrollBar_ = new AxisScrollBar(cht_->LeftAxis(), cht_);
    axScrollBar_->SetBarWidth(14);
    axScrollBar_->SetMinThumbLength(8);
    axScrollBar_->SetOffset(1);
    axScrollBar_->SetThumbColor(QColor(192, 192, 192));
    axScrollBar_->SetArrowColor(QColor(128, 128, 128));
    axScrollBar_->SetAllowScroll(
        [this](double aMin, double aMax) { return chtAllowScroll(aMin, aMax); });
    cht_->AddTool(axScrollBar_);

    annotation_ = new TextBlock(cht_);
    annotation_->SetTransparent(true);
    annotation_->SetFrameVisible(false);
    annotation_->SetFontPixelHeight(kTextPixels);
    annotation_->SetMargins(QMargins(4, 0, 4, 4));
    annotation_->SetRect(QRect(kReadoutLeft, kReadoutTop, kReadoutWidth, 0));
    // A long number must not run onto the value labels.
    annotation_->SetElided(true);
    cht_->AddTool(annotation_);

    annotationCaption_ = new TextBlock(cht_);
    QFont bold = font();
    bold.setBold(true);
    annotationCaption_->SetFont(bold);
    annotationCaption_->SetFontPixelHeight(kTextPixels);
    annotationCaption_->SetRect(kCaptionRect);
    annotationCaption_->SetTransparent(false);
    annotationCaption_->SetFillColor(kCaptionFill);
    annotationCaption_->SetFrameVisible(true);
    annotationCaption_->SetFrameColor(QColor(128, 160, 210));
    annotationCaption_->SetCornerRadius(6);
    // A long name is cut with "…" inside the box and shown whole in the tool tip.
    annotationCaption_->SetElided(true);
    annotationCaption_->SetAlignment(Qt::AlignHCenter);
    // The text stands in the middle of the box.
    annotationCaption_->SetMargins(QMargins(2, 3, 2, 0));
    cht_->AddTool(annotationCaption_);
}

void AnalogStrip::Init(faultscope::Axis* bottomAxis, const AnalogChannel& channelInfo,
                       double frequency) {
    info_ = channelInfo;
    annotationCaption_->SetText(QString::fromStdString(info_.ch_id) + QStringLiteral(", ") +
                                QString::fromStdString(info_.uu));
    frequency_ = frequency;
    cht_->SetBottomAxis(bottomAxis);
    series_->Clear();
    series_->SetColor(SeriesColorForPhase(info_.ph));
    cursor_->SetActive(true);
    startResize_ = false;
}

void AnalogStrip::SetColumns(std::span<const double> xMs, const AnalogColumns& columns) {
    if (columns.size() != xMs.size()) {
        throw std::invalid_argument("Analog strip: samples and times differ in length");
    }
    xMs_ = xMs;
    columns_ = &columns;
    cursorReading_.reset();
    series_->SetData(xMs, columns.Samples());
    const HarmonicColumns& harmonics = columns.harmonics;
    const auto bind = [xMs](LineSeries* series, const SampleColumn& column) {
        if (column.size() == xMs.size()) {
            series->SetData(xMs, column);
        } else {
            series->Clear();
        }
    };
    const auto drawn = [](const std::vector<float>& column) {
        return SampleColumn(std::span<const float>(column));
    };
    bind(sCurrent1_, drawn(harmonics.rms1));
    bind(sCurrent2_, drawn(harmonics.rms2));
    bind(sCurrent3_, drawn(harmonics.rms3));
    bind(sCurrent5_, drawn(harmonics.rms5));
    bind(sAngle_, columns.formulaAngle.empty() ? drawn(harmonics.angle)
                                               : SampleColumn(columns.formulaAngle));
    UpdateScrollContent();
}

void AnalogStrip::SetCursor(std::ptrdiff_t point) {
    if (columns_ == nullptr || point < 0 || static_cast<std::size_t>(point) >= xMs_.size()) {
        return;
    }
    const auto i = static_cast<std::size_t>(point);
    cursor_->SetValue(xMs_[i]);
    cursorPoint_ = point;
    ReadoutValues values{.value = columns_->Value(i),
                         .gap = columns_->Gap(i),
                         .angleOfValue = columns_->valueIsModulus};
    AnalyseAtCursor(i, values);
    readout_ = faultscope::ReadoutText(values);
    annotation_->SetText(readout_);
}

// The numbers at the cursor come from the defining one-cycle sums in double, never from the
// curves' float columns, so what the user reads is the same whether the curves are analysed or
// not. A record the analysis refuses (its frequency or spacing) has no harmonic readout.
void AnalogStrip::AnalyseAtCursor(std::size_t i, ReadoutValues& values) {
    cursorReading_ = ReadHarmonicsAt(xMs_, *columns_, frequency_, i, info_.ch_id);
    if (!cursorReading_) {
        return;
    }
    values.angle = cursorReading_->angle;
    values.rms1 = cursorReading_->rms[0];
    values.rms2 = cursorReading_->rms[1];
    values.rms3 = cursorReading_->rms[2];
    values.rms5 = cursorReading_->rms[3];
}

LineSeries* AnalogStrip::SCurrent(int harmonic) const {
    switch (harmonic) {
        case 1:
            return sCurrent1_;
        case 2:
            return sCurrent2_;
        case 3:
            return sCurrent3_;
        case 5:
            return sCurrent5_;
        default:
            throw std::invalid_argument("Harmonic must be 1, 2, 3 or 5");
    }
}

void AnalogStrip::SetHarmonicVisible(int harmonic, bool visible) {
    SCurrent(harmonic)->SetActive(visible);
    UpdateScrollContent();
}

bool AnalogStrip::HarmonicVisible(int harmonic) const {
    return SCurrent(harmonic)->IsActive();
}

void AnalogStrip::SetHeight(int height) {
    setFixedHeight(std::max(height, kMinHeight));
}

void AnalogStrip::SetHighlighted(bool highlighted) {
    highlighted_ = highlighted;
    const QPalette& colors = palette();
    annotationCaption_->SetFillColor(highlighted ? colors.color(QPalette::Highlight)
                                                 : kCaptionFill);
    annotationCaption_->SetTextColor(highlighted ? colors.color(QPalette::HighlightedText)
                                                 : QColor(Qt::black));
}

ValueExtent AnalogStrip::DataLimits() const {
    ValueExtent limits;
    for (const LineSeries* series : {series_, sCurrent1_, sCurrent2_, sCurrent3_, sCurrent5_}) {
        if (series->IsActive() && series->size() > 0) {
            limits.Add(series->Extent());
        }
    }
    return limits;
}

void AnalogStrip::UpdateScrollContent() {
    const ValueExtent limits = DataLimits();
    if (!limits.IsEmpty()) {
        axScrollBar_->SetContentRange(limits.min - kScrollReserve, limits.max + kScrollReserve);
    }
}

void AnalogStrip::chtResize() {
    const int height = std::max(cht_->height() - kCaptionRect.height() - 20, 0);
    annotation_->SetRect(QRect(kReadoutLeft, kReadoutTop, kReadoutWidth, height));
}

bool AnalogStrip::chtAllowScroll(double aMin, double aMax) const {
    const ValueExtent limits = DataLimits();
    if (limits.IsEmpty()) {
        return false;
    }
    return !(limits.min - kScrollReserve > aMin || limits.max + kScrollReserve < aMax);
}

bool AnalogStrip::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cht_ && event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (kCaptionRect.contains(help->pos())) {
            QToolTip::showText(help->globalPos(), annotationCaption_->Text(), cht_, kCaptionRect);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    if (watched != pnlResize_) {
        return QFrame::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                pnlResizeMouseDown(mouse->globalPosition().toPoint());
                return true;
            }
            break;
        }
        case QEvent::MouseMove: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            pnlResizeMouseMove(pnlResize_->mapTo(this, mouse->position().toPoint()));
            return startResize_;
        }
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                pnlResizeMouseUp();
                return true;
            }
            break;
        default:
            break;
    }
    return QFrame::eventFilter(watched, event);
}

void AnalogStrip::pnlResizeMouseDown(const QPoint& globalPos) {
    startResize_ = true;
    pMouse_ = globalPos;
}

void AnalogStrip::pnlResizeMouseMove(const QPoint& posInStrip) {
    if (startResize_) {
        SetHeight(posInStrip.y());
    }
}

void AnalogStrip::pnlResizeMouseUp() {
    startResize_ = false;
}

}  // namespace faultscope
