#include "gui/chart/chart.h"

#include "gui/chart/axis_ticks.h"

#include <QEnterEvent>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace faultscope {
namespace {

template <typename T>
void Erase(std::vector<T*>& items, const QObject* object) {
    std::erase_if(items, [object](T* item) { return static_cast<QObject*>(item) == object; });
}

}  // namespace

Chart::Chart(QWidget* parent)
    : QWidget(parent),
      leftAxis_(new Axis(this)),
      ownBottomAxis_(new Axis(this)),
      gridPen_(QColor(169, 169, 169), 1),
      axisPen_(QColor(64, 64, 64), 1) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    connect(leftAxis_, &Axis::changed, this, qOverload<>(&QWidget::update));
    connect(ownBottomAxis_, &Axis::changed, this, qOverload<>(&QWidget::update));
}

Chart::~Chart() {
    // Children die after this body; their destroyed() must not reach a half-destroyed chart.
    for (Series* series : series_) {
        series->disconnect(this);
    }
    for (Tool* tool : tools_) {
        tool->disconnect(this);
    }
    if (sharedBottomAxis_ != nullptr) {
        sharedBottomAxis_->disconnect(this);
    }
}

Axis* Chart::BottomAxis() const noexcept {
    return sharedBottomAxis_ != nullptr ? sharedBottomAxis_.data() : ownBottomAxis_;
}

void Chart::SetBottomAxis(Axis* shared) {
    if (sharedBottomAxis_ != nullptr) {
        sharedBottomAxis_->disconnect(this);
    }
    sharedBottomAxis_ = shared == ownBottomAxis_ ? nullptr : shared;
    if (sharedBottomAxis_ != nullptr) {
        connect(shared, &Axis::changed, this, qOverload<>(&QWidget::update));
        connect(shared, &QObject::destroyed, this, qOverload<>(&QWidget::update));
    }
    update();
}

void Chart::SetMargins(const QMargins& margins) {
    margins_ = margins;
    update();
}

void Chart::SetBackground(const QColor& color) {
    SetBackgroundGradient(color, color);
}

void Chart::SetBackgroundGradient(const QColor& top, const QColor& bottom) {
    backgroundTop_ = top;
    backgroundBottom_ = bottom;
    update();
}

void Chart::SetGridPen(const QPen& pen) {
    gridPen_ = pen;
    update();
}

void Chart::SetAxisPen(const QPen& pen) {
    axisPen_ = pen;
    update();
}

void Chart::AddSeries(Series* series) {
    if (series == nullptr || std::ranges::find(series_, series) != series_.end()) {
        return;
    }
    if (series->parent() == nullptr) {
        series->setParent(this);
    }
    series_.push_back(series);
    connect(series, &Series::changed, this, qOverload<>(&QWidget::update));
    connect(series, &QObject::destroyed, this, &Chart::Forget);
    update();
}

void Chart::RemoveSeries(Series* series) {
    if (std::ranges::find(series_, series) == series_.end()) {
        return;
    }
    series->disconnect(this);
    Erase(series_, series);
    if (series->parent() == this) {
        delete series;
    }
    update();
}

void Chart::AddTool(Tool* tool) {
    if (tool == nullptr || std::ranges::find(tools_, tool) != tools_.end()) {
        return;
    }
    if (tool->parent() == nullptr) {
        tool->setParent(this);
    }
    tools_.push_back(tool);
    connect(tool, &Tool::changed, this, qOverload<>(&QWidget::update));
    connect(tool, &QObject::destroyed, this, &Chart::Forget);
    update();
}

void Chart::RemoveTool(Tool* tool) {
    if (std::ranges::find(tools_, tool) == tools_.end()) {
        return;
    }
    tool->disconnect(this);
    Erase(tools_, tool);
    if (tool->parent() == this) {
        delete tool;
    }
    update();
}

void Chart::Forget(QObject* object) {
    Erase(series_, object);
    Erase(tools_, object);
    update();
}

PlotGeometry Chart::GeometryFor(const QSize& size) const {
    PlotGeometry geometry;
    const int width = std::max(size.width() - margins_.left() - margins_.right(), 0);
    const int height = std::max(size.height() - margins_.top() - margins_.bottom(), 0);
    geometry.plot = QRectF(margins_.left(), margins_.top(), width, height);
    geometry.x = BottomAxis();
    geometry.y = leftAxis_;
    geometry.fontDpi = logicalDpiY();
    return geometry;
}

QRectF Chart::PlotRect() const {
    return GeometryFor(size()).plot;
}

PlotGeometry Chart::Geometry() const {
    return GeometryFor(size());
}

double Chart::XToPixel(double value) const {
    return Geometry().XToPixel(value);
}

double Chart::PixelToX(double pixel) const {
    return Geometry().PixelToX(pixel);
}

double Chart::YToPixel(double value) const {
    return Geometry().YToPixel(value);
}

double Chart::PixelToY(double pixel) const {
    return Geometry().PixelToY(pixel);
}

void Chart::render(QPainter& painter, const QRectF& target) {
    if (width() <= 0 || height() <= 0 || target.isEmpty()) {
        return;
    }
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    painter.translate(target.topLeft());
    painter.scale(target.width() / width(), target.height() / height());
    Paint(painter, size(), true);
    painter.restore();
}

void Chart::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    Paint(painter, size());
}

void Chart::Paint(QPainter& painter, const QSize& size, bool onPaper) {
    const PlotGeometry geometry = GeometryFor(size);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(geometry.PixelFont(font()));
    PaintBackground(painter, size);
    if (!geometry.plot.isEmpty()) {
        PaintGrid(painter, geometry);
        PaintAxes(painter, geometry);
    }
    painter.save();
    emit beforeSeries(painter, geometry);
    painter.restore();
    PaintSeriesAndTools(painter, geometry, onPaper);
    painter.save();
    emit afterDraw(painter, geometry);
    painter.restore();
    painter.restore();
}

void Chart::PaintBackground(QPainter& painter, const QSize& size) const {
    const QRectF area(QPointF(0.0, 0.0), QSizeF(size));
    if (backgroundTop_ == backgroundBottom_) {
        painter.fillRect(area, backgroundTop_);
        return;
    }
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0.0, backgroundTop_);
    gradient.setColorAt(1.0, backgroundBottom_);
    painter.fillRect(area, gradient);
}

bool Chart::DrawsBottomAxis() const noexcept {
    return sharedBottomAxis_ == nullptr && ownBottomAxis_->IsVisible();
}

std::vector<double> Chart::LeftTicks(const QFontMetricsF& metrics,
                                     const PlotGeometry& geometry) const {
    return AxisTicks(leftAxis_->Minimum(), leftAxis_->Maximum(), geometry.plot.height(),
                     metrics.height() + 4.0, leftAxis_->Increment());
}

double Chart::BottomLabelWidth(const QFontMetricsF& metrics) const {
    const Axis& axis = *ownBottomAxis_;
    return std::max(metrics.horizontalAdvance(axis.FormatValue(axis.Minimum())),
                    metrics.horizontalAdvance(axis.FormatValue(axis.Maximum()))) +
           10.0;
}

std::vector<double> Chart::BottomTicks(const QFontMetricsF& metrics,
                                       const PlotGeometry& geometry) const {
    const Axis& axis = *ownBottomAxis_;
    return AxisTicks(axis.Minimum(), axis.Maximum(), geometry.plot.width(),
                     BottomLabelWidth(metrics), axis.Increment());
}

void Chart::PaintGrid(QPainter& painter, const PlotGeometry& geometry) const {
    painter.setPen(gridPen_);
    const QFontMetricsF metrics(painter.font());
    if (leftAxis_->IsVisible() && leftAxis_->GridVisible()) {
        for (const double value : LeftTicks(metrics, geometry)) {
            const double y = geometry.YToPixel(value);
            painter.drawLine(QPointF(geometry.FirstColumn(), y), QPointF(geometry.LastColumn(), y));
        }
    }
    if (DrawsBottomAxis() && ownBottomAxis_->GridVisible()) {
        for (const double value : BottomTicks(metrics, geometry)) {
            const double x = geometry.XToPixel(value);
            painter.drawLine(QPointF(x, geometry.FirstRow()), QPointF(x, geometry.LastRow()));
        }
    }
}

void Chart::PaintAxes(QPainter& painter, const PlotGeometry& geometry) const {
    painter.setPen(axisPen_);
    const QRectF& plot = geometry.plot;
    if (leftAxis_->IsVisible()) {
        const double x = plot.left() - 1.0;
        painter.drawLine(QPointF(x, geometry.FirstRow()), QPointF(x, geometry.LastRow()));
        if (leftAxis_->LabelsVisible()) {
            PaintLeftLabels(painter, geometry);
        }
    }
    if (DrawsBottomAxis()) {
        const double y = plot.bottom();
        painter.drawLine(QPointF(geometry.FirstColumn(), y), QPointF(geometry.LastColumn(), y));
        if (ownBottomAxis_->LabelsVisible()) {
            PaintBottomLabels(painter, geometry);
        }
    }
}

void Chart::PaintLeftLabels(QPainter& painter, const PlotGeometry& geometry) const {
    const QFontMetricsF metrics(painter.font());
    const double height = metrics.height();
    const double right = std::max(geometry.plot.left() - leftAxis_->LabelInset(), 0.0);
    painter.setPen(palette().color(QPalette::WindowText));
    for (const double value : LeftTicks(metrics, geometry)) {
        const QRectF box(0.0, geometry.YToPixel(value) - height / 2.0, right, height);
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, leftAxis_->FormatValue(value));
    }
}

void Chart::PaintBottomLabels(QPainter& painter, const PlotGeometry& geometry) const {
    const QFontMetricsF metrics(painter.font());
    const double width = BottomLabelWidth(metrics);
    const double top = geometry.plot.bottom() + ownBottomAxis_->LabelInset();
    painter.setPen(palette().color(QPalette::WindowText));
    for (const double value : BottomTicks(metrics, geometry)) {
        const QRectF box(geometry.XToPixel(value) - width / 2.0, top, width, metrics.height());
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, ownBottomAxis_->FormatValue(value));
    }
}

void Chart::PaintSeriesAndTools(QPainter& painter, const PlotGeometry& geometry, bool onPaper) {
    if (!geometry.plot.isEmpty()) {
        painter.save();
        painter.setClipRect(geometry.plot, Qt::IntersectClip);
        for (Series* series : series_) {
            if (series->IsActive()) {
                series->Draw(painter, geometry);
            }
        }
        painter.restore();
    }
    for (const Tool* tool : tools_) {
        if (tool->IsActive() && !(onPaper && tool->ScreenOnly())) {
            painter.save();
            tool->Draw(painter, geometry);
            painter.restore();
        }
    }
}

void Chart::mousePressEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    if (event->button() == Qt::LeftButton) {
        const PlotGeometry geometry = Geometry();
        const std::vector<Tool*> tools = tools_;  // a tool's signal may change the list
        for (auto it = tools.rbegin(); it != tools.rend(); ++it) {
            if ((*it)->IsActive() && (*it)->MousePress(pos, geometry)) {
                dragTool_ = *it;
                return;
            }
        }
    }
    pressedOnChart_ = true;
    emit mousePressed(pos, event->button());
}

void Chart::mouseMoveEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    if (dragTool_ != nullptr) {
        dragTool_->MouseMove(pos, Geometry());
        return;
    }
    UpdateCursorShape(pos);
    emit mouseMoved(pos);
}

void Chart::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    if (dragTool_ != nullptr && event->button() == Qt::LeftButton) {
        const QPointer<Tool> tool = dragTool_;
        dragTool_ = nullptr;
        tool->MouseRelease(pos, Geometry());
        return;
    }
    emit mouseReleased(pos, event->button());
    if (pressedOnChart_ && rect().contains(pos.toPoint())) {
        emit clicked(pos, event->button());
    }
    pressedOnChart_ = false;
}

void Chart::mouseDoubleClickEvent(QMouseEvent* event) {
    emit doubleClicked(event->position(), event->button());
}

void Chart::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    emit mouseEntered();
}

void Chart::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit mouseLeft();
}

void Chart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized(size());
}

void Chart::UpdateCursorShape(const QPointF& pos) {
    const PlotGeometry geometry = Geometry();
    for (auto it = tools_.rbegin(); it != tools_.rend(); ++it) {
        if ((*it)->IsActive()) {
            if (const auto shape = (*it)->CursorAt(pos, geometry)) {
                setCursor(*shape);
                return;
            }
        }
    }
    unsetCursor();
}

}  // namespace faultscope
