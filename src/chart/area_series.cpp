#include "chart/area_series.h"

#include <QPolygonF>
#include <algorithm>
#include <stdexcept>
#include <vector>

namespace faultscope {

AreaSeries::AreaSeries(QObject* parent) : Series(parent) {}

void AreaSeries::SetData(std::span<const double> x, std::span<const double> level) {
    if (x.size() != level.size()) {
        throw std::invalid_argument("AreaSeries: columns differ in length");
    }
    x_ = x;
    level_ = level;
    emit changed();
}

void AreaSeries::Clear() {
    SetData({}, {});
}

void AreaSeries::Draw(QPainter& painter, const PlotGeometry& geometry) {
    const double left = geometry.PixelToX(geometry.FirstColumn());
    const double right = geometry.PixelToX(geometry.LastColumn() + 1.0);
    auto first = std::lower_bound(x_.begin(), x_.end(), left) - x_.begin();
    auto last = std::upper_bound(x_.begin(), x_.end(), right) - x_.begin();
    first = std::max<std::ptrdiff_t>(first - 1, 0);
    last = std::min<std::ptrdiff_t>(last + 1, static_cast<std::ptrdiff_t>(x_.size()));
    if (last - first < 2) {
        return;
    }
    // Points beyond the plot are pulled to just outside it; the steps keep their shape.
    const QRectF& plot = geometry.plot;
    const auto px = [&](std::ptrdiff_t i) {
        return std::clamp(geometry.XToPixel(x_[i]), plot.left() - 1.0, plot.right() + 1.0);
    };
    const auto py = [&](std::ptrdiff_t i) {
        return std::clamp(geometry.YToPixel(level_[i]), plot.top() - 1.0, plot.bottom() + 1.0);
    };
    // Each step is a rectangle from its level down to the bottom; rectangles fill in wide spans,
    // where a polygon of many steps costs the rasteriser far more.
    std::vector<QRectF> steps;
    steps.reserve(static_cast<std::size_t>(last - first));
    const double bottom = plot.bottom() + 1.0;
    for (auto i = first; i + 1 < last; ++i) {
        const double x0 = px(i);
        const double x1 = px(i + 1);
        const double y = py(i);
        if (x1 > x0 && y < bottom) {
            steps.emplace_back(QPointF(x0, y), QPointF(x1, bottom));
        }
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(Color());
    painter.drawRects(steps.data(), static_cast<int>(steps.size()));
}

}  // namespace faultscope
