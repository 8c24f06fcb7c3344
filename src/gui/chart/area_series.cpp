#include "gui/chart/area_series.h"

#include <QRect>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace faultscope {

AreaSeries::AreaSeries(QObject* parent) : Series(parent) {}

void AreaSeries::SetData(std::span<const double> x, std::span<const double> level) {
    SetData(x, SampleColumn(level));
}

void AreaSeries::SetData(std::span<const double> x, const SampleColumn& level) {
    if (x.size() != level.size()) {
        throw std::invalid_argument("AreaSeries: columns differ in length");
    }
    x_ = x;
    level_ = level;
    emit changed();
}

void AreaSeries::Clear() {
    SetData(std::span<const double>{}, std::span<const double>{});
}

void AreaSeries::Draw(QPainter& painter, const PlotGeometry& geometry) {
    const double left = geometry.PixelToX(geometry.FirstColumn());
    const double right = geometry.PixelToX(geometry.LastColumn() + 1.0);
    auto first = std::lower_bound(x_.begin(), x_.end(), left) - x_.begin();
    auto last = std::upper_bound(x_.begin(), x_.end(), right) - x_.begin();
    first = std::max<std::ptrdiff_t>(first - 1, 0);
    last = std::min<std::ptrdiff_t>(last + 1, static_cast<std::ptrdiff_t>(x_.size()));
    const int firstColumn = static_cast<int>(std::ceil(geometry.FirstColumn()));
    const int lastColumn = static_cast<int>(std::floor(geometry.LastColumn()));
    const int bottomRow = static_cast<int>(std::floor(geometry.LastRow()));
    if (last - first < 2 || lastColumn < firstColumn) {
        return;
    }
    // The highest level reached in each pixel column, as the row it fills from. A column takes
    // the steps whose span holds its centre, and a step narrower than a pixel still takes the
    // column it starts in, so that a short pulse stays visible however far out the view is.
    const AxisMapping toColumn = geometry.XMapping();
    const AxisMapping toRow = geometry.YMapping();
    const double topLimit = std::floor(geometry.FirstRow()) - 1.0;
    std::vector<int> tops(static_cast<std::size_t>(lastColumn - firstColumn + 1), bottomRow + 1);
    for (auto i = first; i + 1 < last; ++i) {
        const double x0 = std::clamp(toColumn(x_[i]), firstColumn - 1.0, lastColumn + 2.0);
        const double x1 = std::clamp(toColumn(x_[i + 1]), firstColumn - 1.0, lastColumn + 2.0);
        if (!(x1 > x0)) {
            continue;
        }
        const double y = std::max(toRow(level_[i]), topLimit);
        if (!(y <= bottomRow + 0.5)) {
            continue;  // below the plot, or not a number
        }
        const int row = static_cast<int>(std::ceil(y - 0.5));
        int c0 = static_cast<int>(std::ceil(x0 - 0.5));
        int c1 = static_cast<int>(std::ceil(x1 - 0.5)) - 1;
        if (c1 < c0) {
            c0 = c1 = static_cast<int>(std::floor(x0));
        }
        c0 = std::max(c0, firstColumn);
        c1 = std::min(c1, lastColumn);
        for (int c = c0; c <= c1; ++c) {
            int& top = tops[static_cast<std::size_t>(c - firstColumn)];
            top = std::min(top, row);
        }
    }
    // Columns of one level make one rectangle, which the raster engine fills in wide spans.
    std::vector<QRect> rects;
    for (std::size_t c = 0; c < tops.size();) {
        std::size_t end = c + 1;
        while (end < tops.size() && tops[end] == tops[c]) {
            ++end;
        }
        if (tops[c] <= bottomRow) {
            rects.emplace_back(firstColumn + static_cast<int>(c), tops[c],
                               static_cast<int>(end - c), bottomRow - tops[c] + 1);
        }
        c = end;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(Color());
    painter.drawRects(rects.data(), static_cast<int>(rects.size()));
}

}  // namespace faultscope
