#include "gui/chart/horizontal_line.h"

#include <QPen>
#include <algorithm>
#include <cmath>

namespace faultscope {

HorizontalLine::HorizontalLine(QObject* parent) : Tool(parent) {}

void HorizontalLine::SetValue(double value) {
    if (std::isfinite(value)) {
        value_ = value;
        emit changed();
    }
}

void HorizontalLine::SetColor(const QColor& color) {
    color_ = color;
    emit changed();
}

void HorizontalLine::SetWidth(int width) {
    width_ = std::max(width, 1);
    emit changed();
}

void HorizontalLine::SetStyle(Qt::PenStyle style) {
    style_ = style;
    emit changed();
}

void HorizontalLine::Draw(QPainter& painter, const PlotGeometry& geometry) const {
    const double y = geometry.YToPixel(value_);
    if (y < geometry.FirstRow() || y >= geometry.LastRow() + 1.0) {
        return;
    }
    painter.setClipRect(geometry.plot, Qt::IntersectClip);
    painter.setPen(QPen(color_, width_, style_, Qt::FlatCap));
    painter.drawLine(QPointF(geometry.FirstColumn(), y), QPointF(geometry.LastColumn() + 1.0, y));
}

}  // namespace faultscope
