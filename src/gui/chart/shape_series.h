#pragma once

#include "gui/chart/series.h"

#include <QBrush>
#include <QPen>
#include <QPointF>

namespace faultscope {

// One shape over the value plane given by two opposite corners: the ellipse inscribed in the
// rectangle, the cross through its centre, or its two diagonals.
class ShapeSeries : public Series {
    Q_OBJECT

  public:
    enum class Kind { Circle, Cross, DiagonalCross };

    explicit ShapeSeries(Kind kind, QObject* parent = nullptr);

    void SetCorners(const QPointF& first, const QPointF& second);
    [[nodiscard]] QPointF First() const noexcept { return first_; }
    [[nodiscard]] QPointF Second() const noexcept { return second_; }
    void SetPen(const QPen& pen);
    void SetBrush(const QBrush& brush);
    [[nodiscard]] Kind ShapeKind() const noexcept { return kind_; }

    void Draw(QPainter& painter, const PlotGeometry& geometry) override;

  private:
    Kind kind_;
    QPointF first_;
    QPointF second_;
    QPen pen_;
    QBrush brush_ = Qt::NoBrush;
};

}  // namespace faultscope
