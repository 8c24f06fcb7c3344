#include "gui/chart/shape_series.h"

namespace faultscope {

ShapeSeries::ShapeSeries(Kind kind, QObject* parent) : Series(parent), kind_(kind) {}

void ShapeSeries::SetCorners(const QPointF& first, const QPointF& second) {
    first_ = first;
    second_ = second;
    emit changed();
}

void ShapeSeries::SetPen(const QPen& pen) {
    pen_ = pen;
    emit changed();
}

void ShapeSeries::SetBrush(const QBrush& brush) {
    brush_ = brush;
    emit changed();
}

void ShapeSeries::Draw(QPainter& painter, const PlotGeometry& geometry) {
    const QRectF rect =
        QRectF(QPointF(geometry.XToPixel(first_.x()), geometry.YToPixel(first_.y())),
               QPointF(geometry.XToPixel(second_.x()), geometry.YToPixel(second_.y())))
            .normalized();
    painter.setPen(pen_);
    switch (kind_) {
        case Kind::Circle:
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setBrush(brush_);
            painter.drawEllipse(rect);
            break;
        case Kind::Cross:
            painter.drawLine(QPointF(rect.left(), rect.center().y()),
                             QPointF(rect.right(), rect.center().y()));
            painter.drawLine(QPointF(rect.center().x(), rect.top()),
                             QPointF(rect.center().x(), rect.bottom()));
            break;
        case Kind::DiagonalCross:
            painter.drawLine(rect.topLeft(), rect.bottomRight());
            painter.drawLine(rect.bottomLeft(), rect.topRight());
            break;
    }
}

}  // namespace faultscope
