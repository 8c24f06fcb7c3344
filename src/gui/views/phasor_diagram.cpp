#include "gui/views/phasor_diagram.h"

#include "core/analysis/phasor_math.h"
#include "gui/chart/arrow_series.h"
#include "gui/chart/axis.h"
#include "gui/chart/chart.h"
#include "gui/chart/line_series.h"
#include "gui/chart/number_format.h"
#include "gui/chart/point_series.h"
#include "gui/chart/shape_series.h"
#include "gui/chart/vertical_line.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/phasor_source.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>

namespace faultscope {
namespace {

constexpr int kLegendWidth = 148;
constexpr int kMinCircleWidth = 260;
constexpr int kImageSize = 22;
const QColor kCream(255, 251, 240);
const QColor kSkyBlue(166, 202, 240);

QString ImageButtonStyle(int frame) {
    return QStringLiteral(
               "QToolButton { background: %1; border: none; border-left: %2px solid %3;"
               " border-bottom: %2px solid %3; }")
        .arg(kCream.name())
        .arg(frame)
        .arg(kSkyBlue.name());
}

// The small pictures of the image buttons.
QIcon DrawnIcon(char kind) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 60, 100), 1.6));
    if (kind == 'i') {  // legend: lines of a list
        for (const int y : {4, 8, 12}) {
            p.drawLine(QPointF(3, y), QPointF(13, y));
        }
    } else if (kind == 'u') {  // rebuild: a circular arrow
        p.drawArc(QRectF(3, 3, 10, 10), 60 * 16, 280 * 16);
        p.drawLine(QPointF(11, 2), QPointF(11.5, 5.5));
        p.drawLine(QPointF(11.5, 5.5), QPointF(8, 5.5));
    } else {  // add: a plus
        p.drawLine(QPointF(8, 3), QPointF(8, 13));
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
    }
    return QIcon(pixmap);
}

QToolButton* ImageButton(const char* name, char kind, const QString& hint, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(DrawnIcon(kind));
    button->setFixedSize(kImageSize, kImageSize);
    button->setToolTip(hint);
    button->setStyleSheet(ImageButtonStyle(1));
    return button;
}

int NextDiagramNumber() {
    static int number = 0;
    return ++number;
}

}  // namespace

PhasorDiagram::PhasorDiagram(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("frmRoundOscil") + QString::number(NextDiagramNumber()));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Круговая диаграмма"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setMinimumSize(160, 160);
    resize(437, 306);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    spl1_ = new QSplitter(Qt::Horizontal, this);
    spl1_->setObjectName(QStringLiteral("spl1"));
    spl1_->setHandleWidth(2);
    spl1_->setChildrenCollapsible(false);
    layout->addWidget(spl1_);
    BuildChart();
    BuildSeries();
    BuildButtons();
    BuildLegend();
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, &PhasorDiagram::CopyPicture);
}

PhasorDiagram::~PhasorDiagram() {
    // A tool window over the diagram (the zone dialog) clears the diagram's zone line as it
    // goes, so it must go while the diagram is still whole, not among the children the base
    // class deletes.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow()) {
            delete child;
        }
    }
}

void PhasorDiagram::BuildChart() {
    phasorPanel_ = new QWidget(spl1_);
    phasorPanel_->setObjectName(QStringLiteral("pnlROscil"));
    phasorPanel_->setContentsMargins(0, 0, 1, 0);
    phasorPanel_->installEventFilter(this);
    cht_ = new Chart(phasorPanel_);
    cht_->setObjectName(QStringLiteral("cht"));
    cht_->SetMargins(QMargins(0, 0, 0, 0));
    cht_->LeftAxis()->SetVisible(false);
    cht_->BottomAxis()->SetVisible(false);
    connect(cht_, &Chart::afterDraw, this, &PhasorDiagram::chtAfterDraw);
    connect(cht_, &Chart::mousePressed, this, &PhasorDiagram::ChtMousePress);
    connect(cht_, &Chart::mouseMoved, this, &PhasorDiagram::ChtMouseMove);
    connect(cht_, &Chart::mouseReleased, this, &PhasorDiagram::ChtMouseRelease);
    chk_ = new QCheckBox(phasorPanel_);
    chk_->setObjectName(QStringLiteral("chk"));
    chk_->setChecked(true);
    chk_->setToolTip(QStringLiteral("Следовать за курсором"));
    chk_->move(4, 4);
    pnlT_ = new QLabel(phasorPanel_);
    pnlT_->setObjectName(QStringLiteral("pnlT"));
    QFont font = pnlT_->font();
    font.setPixelSize(14);
    pnlT_->setFont(font);
    spl1_->addWidget(phasorPanel_);
    spl1_->setStretchFactor(0, 1);
}

void PhasorDiagram::BuildSeries() {
    sRound_ = new ShapeSeries(ShapeSeries::Kind::Circle);
    sRound_->SetPen(QPen(QColor(200, 200, 120), 1));
    QColor yellow(Qt::yellow);
    yellow.setAlphaF(0.11F);
    sRound_->SetBrush(yellow);
    sAxis_ = new ShapeSeries(ShapeSeries::Kind::Cross);
    sAxis_->SetPen(QPen(QColor(128, 128, 128), 1, Qt::DotLine));
    sAxisCross_ = new ShapeSeries(ShapeSeries::Kind::DiagonalCross);
    sAxisCross_->SetPen(QPen(Qt::black, 1, Qt::DotLine));
    sChrtArrow_ = new ArrowSeries;
    sChrtArrow_->SetHeadSize(5, 10);
    sOZ_DZ_ = new PointSeries;
    sOZ_DZ_Off_ = new PointSeries;
    sLine_ = new PolylineSeries;
    sLine_->SetColor(Qt::black);
    sArrow_ = new ArrowSeries;
    sArrow_->SetWidth(2);
    sArrow_->SetHeadSize(6, 12);
    sArrow_->SetTransparency(3);
    for (Series* series : std::initializer_list<Series*>{sRound_, sAxis_, sAxisCross_, sChrtArrow_,
                                                         sOZ_DZ_, sOZ_DZ_Off_, sLine_, sArrow_}) {
        cht_->AddSeries(series);
    }
    sArrow_->setObjectName(QStringLiteral("sArrow"));
    SetMaxMinAxisValue(std::numeric_limits<double>::denorm_min());
}

void PhasorDiagram::BuildButtons() {
    imgInfo_ = ImageButton("imgInfo", 'i', QStringLiteral("Показать/скрыть легенду"), phasorPanel_);
    imgUpdate_ =
        ImageButton("imgUpdate", 'u', QStringLiteral("Обновить список каналов"), phasorPanel_);
    imgAdd_ = ImageButton("imgAdd", 'a', QStringLiteral("Добавить характеристику"), phasorPanel_);
    for (QToolButton* button : {imgInfo_, imgUpdate_, imgAdd_}) {
        button->installEventFilter(this);
    }
    connect(imgAdd_, &QToolButton::clicked, this, &PhasorDiagram::imgAddClick);
    connect(imgInfo_, &QToolButton::clicked, this, &PhasorDiagram::pnlInfoClick);
    connect(imgUpdate_, &QToolButton::clicked, this, [this] {
        if (!UpdateChart()) {
            // No shown channel is left to draw: the window has nothing to show.
            emit emptied(this);
        }
    });
}

void PhasorDiagram::BuildLegend() {
    pnlRight_ = new QWidget(spl1_);
    pnlRight_->setObjectName(QStringLiteral("pnlRight"));
    auto* column = new QVBoxLayout(pnlRight_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    sb_ = new QScrollArea(pnlRight_);
    sb_->setObjectName(QStringLiteral("sb"));
    sb_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sb_->setWidgetResizable(true);
    sb_->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget;
    rows_ = new QVBoxLayout(content);
    rows_->setContentsMargins(0, 0, 0, 0);
    rows_->setSpacing(0);
    rows_->addStretch(1);
    sb_->setWidget(content);
    column->addWidget(sb_, 1);
    auto* options = new QGroupBox(QStringLiteral("Режим изм. угла"), pnlRight_);
    options->setObjectName(QStringLiteral("pnlOptions"));
    auto* choices = new QHBoxLayout(options);
    rbReal_ = new QRadioButton(QStringLiteral("0..360") + QStringLiteral("°"), options);
    rbReal_->setObjectName(QStringLiteral("rbReal"));
    rb180_ = new QRadioButton(QStringLiteral("-180..180") + QStringLiteral("°"), options);
    rb180_->setObjectName(QStringLiteral("rb180"));
    rbReal_->setChecked(true);
    choices->addWidget(rbReal_);
    choices->addWidget(rb180_);
    column->addWidget(options);
    connect(rbReal_, &QRadioButton::clicked, this, [this] { SetAngleView(AngleMode::anReal); });
    connect(rb180_, &QRadioButton::clicked, this, [this] { SetAngleView(AngleMode::an180); });
    spl1_->addWidget(pnlRight_);
    spl1_->setSizes({437 - kLegendWidth, kLegendWidth});
    pnlRight_->hide();
}

void PhasorDiagram::SetUseCurrentValue(bool value) {
    useCurrentValue_ = value;
    for (PhasorLegendRow* item : items_) {
        item->SetUseCurrentValue(value);
    }
}

bool PhasorDiagram::SetCharts(AnalogStripList* chtList) {
    chtList_ = chtList;
    if (chtList == nullptr) {
        return false;
    }
    const std::vector<AnalogStrip*>& strips = chtList->ChtList();
    const AngleMode view = rb180_->isChecked() ? AngleMode::an180 : AngleMode::anReal;
    for (std::size_t i = 0; i < strips.size() && items_.size() < kMaxRows; ++i) {
        AnalogStrip* strip = strips[i];
        if (strip->isHidden()) {
            continue;
        }
        auto* item = new PhasorLegendRow(sb_->widget(), strip, [this] { CursorChangePos(); });
        item->setObjectName(QStringLiteral("roi") + QString::number(i));
        QPalette pal = item->palette();
        pal.setColor(QPalette::Window, items_.size() % 2 == 1
                                           ? QApplication::palette().color(QPalette::Button)
                                           : QColor(Qt::white));
        item->setPalette(pal);
        connect(item, &PhasorLegendRow::baseArrowChange, this, &PhasorDiagram::BaseArrowChange);
        item->SetUseCurrentValue(useCurrentValue_);
        item->SetAngleView(view);
        rows_->insertWidget(rows_->count() - 1, item);
        items_.push_back(item);
    }
    if (items_.empty()) {
        return false;
    }
    FitLegend();
    CursorChangePos();
    return true;
}

void PhasorDiagram::FitLegend() {
    // Wide enough for every row's name and a value such as "-5357.5∠-179.99°".
    legendWidth_ = kLegendWidth;
    for (const PhasorLegendRow* item : items_) {
        legendWidth_ = std::max(legendWidth_, item->sizeHint().width());
    }
    legendWidth_ += sb_->verticalScrollBar()->sizeHint().width();
    if (pnlRight_->isVisible()) {
        ShowLegendWhole();
    }
}

void PhasorDiagram::ShowLegendWhole() {
    // The circle keeps room of its own beside a wide legend: the window grows to the left.
    const int handle = spl1_->handleWidth();
    const int circle = std::max(width() - legendWidth_ - handle, kMinCircleWidth);
    if (const int grow = circle + legendWidth_ + handle - width(); grow > 0) {
        setGeometry(geometry().adjusted(-grow, 0, 0, 0));
    }
    spl1_->setSizes({circle, legendWidth_});
}

void PhasorDiagram::ClearLegend() {
    for (PhasorLegendRow* item : items_) {
        rows_->removeWidget(item);
        delete item;
    }
    items_.clear();
}

bool PhasorDiagram::UpdateChart() {
    sArrow_->Clear();
    ClearLegend();
    baseArrow_ = -1;
    return SetCharts(chtList_);
}

std::vector<std::optional<PhasorReading>> PhasorDiagram::ReadItems() const {
    std::vector<std::optional<PhasorReading>> readings;
    readings.reserve(items_.size());
    for (const PhasorLegendRow* item : items_) {
        readings.push_back(item->AChart() != nullptr ? PhasorAtCursor(*item->AChart())
                                                     : std::nullopt);
    }
    return readings;
}

bool PhasorDiagram::Shown(std::size_t k,
                          const std::vector<std::optional<PhasorReading>>& readings) const {
    return items_[k]->ViewOnPhasorPanel() && items_[k]->AChart() != nullptr && readings[k] &&
           !readings[k]->overGap;
}

double PhasorDiagram::Magnitude(const PhasorLegendRow& item, const PhasorReading& reading) {
    return item.UseCurrentValue() ? reading.rms1 : reading.value;
}

QuantityKind PhasorDiagram::KindOf(const PhasorLegendRow& item) {
    return item.AChart() != nullptr ? KindOfUnit(item.AChart()->Info().uu) : QuantityKind::Other;
}

double PhasorDiagram::MaxMagnitude(
    const std::vector<std::optional<PhasorReading>>& readings) const {
    double max = std::numeric_limits<double>::denorm_min();
    for (std::size_t k = 0; k < items_.size(); ++k) {
        if (items_[k]->ViewOnPhasorPanel() && readings[k] && !readings[k]->overGap) {
            const double m = useCurrentValue_ ? readings[k]->rms1 : readings[k]->value;
            max = std::max(max, std::abs(m));
        }
    }
    return max;
}

double PhasorDiagram::GetMaxValue() const {
    return MaxMagnitude(ReadItems());
}

void PhasorDiagram::SetMaxMinAxisValue(double max) {
    if (!std::isfinite(max) || max <= 0.0) {
        return;
    }
    sRound_->SetCorners(QPointF(-max, -max), QPointF(max, max));
    const double r = max + max * 0.1;
    cht_->LeftAxis()->SetRange(-r, r);
    cht_->BottomAxis()->SetRange(-r, r);
    sAxis_->SetCorners(QPointF(-r, -r), QPointF(r, r));
    const double d = r * std::cos(std::numbers::pi / 4.0);
    sAxisCross_->SetCorners(QPointF(-d, -d), QPointF(d, d));
    sChrtArrow_->BeginUpdate();
    sChrtArrow_->Clear();
    sChrtArrow_->Add(QPointF(0.0, -r), QPointF(0.0, r), Qt::black);
    sChrtArrow_->Add(QPointF(-r, 0.0), QPointF(r, 0.0), Qt::black);
    sChrtArrow_->EndUpdate();
}

bool PhasorDiagram::FollowsCursor() const noexcept {
    return chk_->isChecked();
}

void PhasorDiagram::imgAddClick() {
    emit zonesRequested(this);
}

void PhasorDiagram::CursorChangePos() {
    if (chtList_ == nullptr || items_.empty()) {
        return;
    }
    // Each strip's sums at its cursor are read once for the scale, the arrows and the legend.
    const std::vector<std::optional<PhasorReading>> readings = ReadItems();
    SetMaxMinAxisValue(MaxMagnitude(readings));
    double base = 0.0;
    if (baseArrow_ >= 0 && static_cast<std::size_t>(baseArrow_) < items_.size()) {
        base = readings[static_cast<std::size_t>(baseArrow_)].value_or(PhasorReading{}).angle;
    }
    // Each kind of quantity is scaled on its own: its largest phasor reaches the circle, so
    // voltages in kV are no stubs beside currents in A.
    const double circle = MaxMagnitude(readings);
    std::map<QuantityKind, double> kindMax;
    for (std::size_t k = 0; k < items_.size(); ++k) {
        if (Shown(k, readings)) {
            double& max = kindMax[KindOf(*items_[k])];
            max = std::max(max, std::abs(Magnitude(*items_[k], *readings[k])));
        }
    }
    sArrow_->BeginUpdate();
    sArrow_->Clear();
    for (std::size_t k = 0; k < items_.size(); ++k) {
        const PhasorLegendRow* item = items_[k];
        AnalogStrip* strip = item->AChart();
        // A phasor over missing samples has no arrow; its legend line says so.
        if (!Shown(k, readings)) {
            continue;
        }
        const double largest = kindMax[KindOf(*item)];
        const double scale = largest > 0.0 && largest != circle ? circle / largest : 1.0;
        const double m = Magnitude(*item, *readings[k]) * scale;
        const PhasorTip tip = ArrowTip(m, readings[k]->angle - base);
        sArrow_->Add(QPointF(0.0, 0.0), QPointF(tip.x, tip.y), strip->Series()->Color(),
                     QString::fromStdString(strip->Info().ch_id));
    }
    sArrow_->EndUpdate();
    const std::vector<AnalogStrip*>& strips = chtList_->ChtList();
    if (!strips.empty()) {
        pnlT_->setText(QStringLiteral("T=") +
                       FormatPicture(strips.front()->Cursor()->Value(), u"######0.0##"));
        pnlT_->adjustSize();
    }
    for (std::size_t k = 0; k < items_.size(); ++k) {
        items_[k]->iUpdate(base, readings[k]);
    }
}

void PhasorDiagram::BaseArrowChange(PhasorLegendRow* item, bool checked) {
    if (checked) {
        for (PhasorLegendRow* other : items_) {
            if (other != item) {
                other->Chk()->setChecked(false);
            }
        }
    } else if (std::ranges::any_of(
                   items_, [](const PhasorLegendRow* i) { return i->Chk()->isChecked(); })) {
        return;
    }
    baseArrow_ = -1;
    for (std::size_t k = 0; k < items_.size(); ++k) {
        if (items_[k]->Chk()->isChecked()) {
            baseArrow_ = static_cast<int>(k);
        }
    }
    CursorChangePos();
}

void PhasorDiagram::SetAngleView(AngleMode view) {
    for (PhasorLegendRow* item : items_) {
        item->SetAngleView(view);
    }
    CursorChangePos();
}

void PhasorDiagram::pnlInfoClick() {
    pnlRight_->setVisible(!pnlRight_->isVisible());
    if (pnlRight_->isVisible()) {
        ShowLegendWhole();
    }
}

void PhasorDiagram::phasorPanelResized() {
    const QRect area = phasorPanel_->contentsRect();
    const int side = std::min(area.width(), area.height());
    cht_->setGeometry((area.width() - side) / 2, (area.height() - side) / 2, side, side);
    cht_->lower();
    const int right = phasorPanel_->width() - phasorPanel_->contentsMargins().right();
    imgInfo_->move(right - kImageSize, 0);
    imgUpdate_->move(right - 2 * kImageSize, 0);
    imgAdd_->move(right - kImageSize, kImageSize);
    pnlT_->move(4, phasorPanel_->height() - pnlT_->height() - 2);
}

bool PhasorDiagram::eventFilter(QObject* watched, QEvent* event) {
    if (watched == phasorPanel_ && event->type() == QEvent::Resize) {
        phasorPanelResized();
    }
    if (auto* button = qobject_cast<QToolButton*>(watched)) {
        if (event->type() == QEvent::Enter) {
            button->setStyleSheet(ImageButtonStyle(2));
        } else if (event->type() == QEvent::Leave) {
            button->setStyleSheet(ImageButtonStyle(1));
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PhasorDiagram::chtAfterDraw(QPainter& painter, const PlotGeometry& geometry) {
    const QFontMetricsF metrics(painter.font());
    const double r = geometry.x->Maximum();
    painter.setPen(Qt::black);
    // "0" under the tip of the horizontal axis, "+90" beside the tip of the vertical one: they
    // mark where phasors of those angles point.
    const QPointF right(geometry.XToPixel(r), geometry.YToPixel(0.0));
    painter.drawText(QPointF(right.x() - metrics.horizontalAdvance(QStringLiteral("0")) - 4,
                             right.y() + metrics.ascent() + 2),
                     QStringLiteral("0"));
    const QPointF top(geometry.XToPixel(0.0), geometry.YToPixel(r));
    painter.drawText(QPointF(top.x() + 6, top.y() + metrics.ascent()), QStringLiteral("+90"));
    const double w = std::round(cht_->width() / 50.0);
    const double h = std::round(cht_->height() / 50.0);
    for (const ArrowSeries::Arrow& arrow : sArrow_->Arrows()) {
        const LabelSide side = ArrowLabelSide(arrow.to.x(), arrow.to.y());
        if (side == LabelSide::None) {
            continue;
        }
        QPointF at(geometry.XToPixel(arrow.to.x()), geometry.YToPixel(arrow.to.y()));
        switch (side) {
            case LabelSide::Right:
                at.rx() += w;
                break;
            case LabelSide::Above:
                at.ry() -= h;
                break;
            case LabelSide::Left:
                at.rx() -= w;
                break;
            default:
                at.ry() += h;
                break;
        }
        painter.drawText(QPointF(at.x(), at.y() + metrics.ascent()), arrow.label.trimmed());
    }
}

void PhasorDiagram::CopyPicture() {
    QApplication::clipboard()->setImage(grab().toImage());
}

void PhasorDiagram::ChtMousePress(QPointF pos, Qt::MouseButton button) {
    if (button == Qt::RightButton || button == Qt::MiddleButton) {
        dragButton_ = button;
        dragStart_ = pos;
    }
}

void PhasorDiagram::ChtMouseMove(QPointF pos) {
    if (dragButton_ != Qt::MiddleButton) {
        return;
    }
    const double dx = cht_->PixelToX(dragStart_.x()) - cht_->PixelToX(pos.x());
    const double dy = cht_->PixelToY(dragStart_.y()) - cht_->PixelToY(pos.y());
    Axis* x = cht_->BottomAxis();
    Axis* y = cht_->LeftAxis();
    x->SetRange(x->Minimum() + dx, x->Maximum() + dx);
    y->SetRange(y->Minimum() + dy, y->Maximum() + dy);
    dragStart_ = pos;
}

void PhasorDiagram::ChtMouseRelease(QPointF pos, Qt::MouseButton button) {
    if (button != dragButton_) {
        return;
    }
    dragButton_ = Qt::NoButton;
    if (button != Qt::RightButton) {
        return;
    }
    const double x1 = cht_->PixelToX(dragStart_.x());
    const double x2 = cht_->PixelToX(pos.x());
    const double y1 = cht_->PixelToY(dragStart_.y());
    const double y2 = cht_->PixelToY(pos.y());
    // A drag to the upper left, or one too short to mean a rectangle, does not zoom.
    if (x2 <= x1 || y2 >= y1 || std::abs(pos.x() - dragStart_.x()) < 4) {
        return;
    }
    cht_->BottomAxis()->SetRange(x1, x2);
    cht_->LeftAxis()->SetRange(y2, y1);
}

void PhasorDiagram::closeEvent(QCloseEvent* event) {
    emit closed(this);
    QWidget::closeEvent(event);
}

}  // namespace faultscope
