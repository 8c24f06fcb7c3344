#pragma once

#include "gui/chart/axis.h"
#include "gui/chart/plot_geometry.h"
#include "gui/chart/series.h"
#include "gui/chart/tool.h"

#include <QColor>
#include <QFontMetricsF>
#include <QMargins>
#include <QPen>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace faultscope {

// A plot widget: a plot rectangle inside pixel margins, a left (value) and a bottom axis,
// series drawn over the plot and tools over the series. One picture is painted in passes:
// background with grid and axes, the beforeSeries hook, the series, the tools, the afterDraw
// hook; render() paints the same picture into any rectangle of any painter.
class Chart : public QWidget {
    Q_OBJECT

  public:
    explicit Chart(QWidget* parent = nullptr);
    ~Chart() override;

    [[nodiscard]] Axis* LeftAxis() const noexcept { return leftAxis_; }
    [[nodiscard]] Axis* BottomAxis() const noexcept;
    // Draws against an axis owned elsewhere, usually another chart's: range and conversions
    // are shared, while its line, labels and grid are left to its owner. nullptr (or the
    // axis' destruction) returns the chart to its own bottom axis.
    void SetBottomAxis(Axis* shared);

    // Distances from the widget's edges to the plot rectangle; labels go into them.
    void SetMargins(const QMargins& margins);
    [[nodiscard]] const QMargins& Margins() const noexcept { return margins_; }
    void SetBackground(const QColor& color);
    // A vertical gradient over the whole widget.
    void SetBackgroundGradient(const QColor& top, const QColor& bottom);
    [[nodiscard]] const QColor& BackgroundColor() const noexcept { return backgroundTop_; }
    void SetGridPen(const QPen& pen);
    void SetAxisPen(const QPen& pen);

    // A series or tool without a parent becomes the chart's child; one with an owner of its
    // own stays with it and leaves the chart when destroyed.
    void AddSeries(Series* series);
    void RemoveSeries(Series* series);
    [[nodiscard]] const std::vector<Series*>& SeriesList() const noexcept { return series_; }
    void AddTool(Tool* tool);
    void RemoveTool(Tool* tool);
    [[nodiscard]] const std::vector<Tool*>& Tools() const noexcept { return tools_; }

    [[nodiscard]] QRectF PlotRect() const;
    [[nodiscard]] PlotGeometry Geometry() const;
    [[nodiscard]] double XToPixel(double value) const;
    [[nodiscard]] double PixelToX(double pixel) const;
    [[nodiscard]] double YToPixel(double value) const;
    [[nodiscard]] double PixelToY(double pixel) const;

    using QWidget::render;
    // Paints the chart as it looks now, scaled into `target` of the painter's device.
    void render(QPainter& painter, const QRectF& target);

  signals:
    void clicked(QPointF pos, Qt::MouseButton button);
    void doubleClicked(QPointF pos, Qt::MouseButton button);
    // Mouse events that no tool took.
    void mousePressed(QPointF pos, Qt::MouseButton button);
    void mouseMoved(QPointF pos);
    void mouseReleased(QPointF pos, Qt::MouseButton button);
    void mouseEntered();
    void mouseLeft();
    void resized(QSize size);
    // Painting hooks, in the painter's current coordinates.
    void beforeSeries(QPainter& painter, const faultscope::PlotGeometry& geometry);
    void afterDraw(QPainter& painter, const faultscope::PlotGeometry& geometry);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    [[nodiscard]] PlotGeometry GeometryFor(const QSize& size) const;
    // `onPaper`: for a printed page, without the tools that only work on the screen.
    void Paint(QPainter& painter, const QSize& size, bool onPaper = false);
    void PaintBackground(QPainter& painter, const QSize& size) const;
    [[nodiscard]] std::vector<double> LeftTicks(const QFontMetricsF& metrics,
                                                const PlotGeometry& geometry) const;
    [[nodiscard]] std::vector<double> BottomTicks(const QFontMetricsF& metrics,
                                                  const PlotGeometry& geometry) const;
    [[nodiscard]] double BottomLabelWidth(const QFontMetricsF& metrics) const;
    void PaintGrid(QPainter& painter, const PlotGeometry& geometry) const;
    void PaintAxes(QPainter& painter, const PlotGeometry& geometry) const;
    void PaintLeftLabels(QPainter& painter, const PlotGeometry& geometry) const;
    void PaintBottomLabels(QPainter& painter, const PlotGeometry& geometry) const;
    void PaintSeriesAndTools(QPainter& painter, const PlotGeometry& geometry, bool onPaper);
    [[nodiscard]] bool DrawsBottomAxis() const noexcept;
    void UpdateCursorShape(const QPointF& pos);
    void Forget(QObject* object);

    Axis* leftAxis_;
    Axis* ownBottomAxis_;
    QPointer<Axis> sharedBottomAxis_;
    QMargins margins_;
    QColor backgroundTop_ = Qt::white;
    QColor backgroundBottom_ = Qt::white;
    QPen gridPen_;
    QPen axisPen_;
    std::vector<Series*> series_;
    std::vector<Tool*> tools_;
    QPointer<Tool> dragTool_;
    bool pressedOnChart_ = false;
};

}  // namespace faultscope
