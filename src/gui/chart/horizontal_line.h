#pragma once

#include "gui/chart/tool.h"

#include <QColor>

namespace faultscope {

// A horizontal line at a value of the left axis, across the plot.
class HorizontalLine : public Tool {
    Q_OBJECT

  public:
    explicit HorizontalLine(QObject* parent = nullptr);

    void SetValue(double value);
    [[nodiscard]] double Value() const noexcept { return value_; }
    void SetColor(const QColor& color);
    [[nodiscard]] const QColor& Color() const noexcept { return color_; }
    void SetWidth(int width);
    [[nodiscard]] int Width() const noexcept { return width_; }
    void SetStyle(Qt::PenStyle style);

    void Draw(QPainter& painter, const PlotGeometry& geometry) const override;

  private:
    double value_ = 0.0;
    QColor color_ = Qt::black;
    int width_ = 1;
    Qt::PenStyle style_ = Qt::SolidLine;
};

}  // namespace faultscope
