#include "gui/chart/point_series.h"

#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace faultscope {

PointSeries::PointSeries(QObject* parent) : Series(parent) {}

void PointSeries::Clear() {
    points_.clear();
    emit changed();
}

void PointSeries::Add(const QPointF& at, const QColor& color) {
    points_.push_back({at, color});
    emit changed();
}

void PointSeries::SetPoints(std::vector<Point> points) {
    points_ = std::move(points);
    emit changed();
}

void PointSeries::SetMarkerSize(double radius) {
    radius_ = radius;
    emit changed();
}

void PointSeries::Draw(QPainter& painter, const PlotGeometry& geometry) {
    painter.setPen(Qt::NoPen);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const AxisMapping x = geometry.XMapping();
    const AxisMapping y = geometry.YMapping();
    for (const Point& point : points_) {
        const QPointF at(x(point.at.x()), y(point.at.y()));
        if (std::isfinite(at.x()) && std::isfinite(at.y())) {
            painter.setBrush(point.color);
            painter.drawEllipse(at, radius_, radius_);
        }
    }
}

PolylineSeries::PolylineSeries(QObject* parent) : Series(parent) {}

void PolylineSeries::Clear() {
    points_.clear();
    emit changed();
}

void PolylineSeries::SetPoints(std::vector<QPointF> points) {
    points_ = std::move(points);
    emit changed();
}

void PolylineSeries::Draw(QPainter& painter, const PlotGeometry& geometry) {
    if (points_.size() < 2) {
        return;
    }
    const AxisMapping x = geometry.XMapping();
    const AxisMapping y = geometry.YMapping();
    QPolygonF line;
    line.reserve(static_cast<qsizetype>(points_.size()));
    for (const QPointF& point : points_) {
        line.append(QPointF(x(point.x()), y(point.y())));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Color(), Width()));
    painter.drawPolyline(line);
}

}  // namespace faultscope
