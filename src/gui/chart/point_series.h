#pragma once

#include "gui/chart/series.h"

#include <QColor>
#include <QPointF>
#include <vector>

namespace faultscope {

// Points of the value plane, each drawn as a small filled circle of its own colour without an
// outline.
class PointSeries : public Series {
    Q_OBJECT

  public:
    struct Point {
        QPointF at;
        QColor color;
    };

    explicit PointSeries(QObject* parent = nullptr);

    void Clear();
    void Add(const QPointF& at, const QColor& color);
    // Replaces all points at once, repainting once.
    void SetPoints(std::vector<Point> points);
    [[nodiscard]] const std::vector<Point>& Points() const noexcept { return points_; }
    // Radius of the marker in pixels.
    void SetMarkerSize(double radius);

    void Draw(QPainter& painter, const PlotGeometry& geometry) override;

  private:
    std::vector<Point> points_;
    double radius_ = 1.0;
};

// Points of the value plane joined in order by straight segments in the series' colour.
class PolylineSeries : public Series {
    Q_OBJECT

  public:
    explicit PolylineSeries(QObject* parent = nullptr);

    void Clear();
    void SetPoints(std::vector<QPointF> points);
    [[nodiscard]] const std::vector<QPointF>& Points() const noexcept { return points_; }

    void Draw(QPainter& painter, const PlotGeometry& geometry) override;

  private:
    std::vector<QPointF> points_;
};

}  // namespace faultscope
