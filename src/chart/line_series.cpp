#include "chart/line_series.h"

#include <QLineF>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace faultscope {
namespace {

// Keeps far-off points within the range the raster engine handles exactly.
constexpr double kFar = 4.0e6;

double Clamp(double pixel) {
    return std::clamp(pixel, -kFar, kFar);
}

}  // namespace

LineSeries::LineSeries(QObject* parent) : Series(parent) {}

LineSeries::~LineSeries() = default;

void LineSeries::SetData(std::span<const double> x, std::span<const double> y,
                         std::span<const std::uint8_t> gaps) {
    if (x.size() != y.size() || (!gaps.empty() && gaps.size() != y.size())) {
        throw std::invalid_argument("LineSeries: columns differ in length");
    }
    x_ = x;
    y_ = y;
    gaps_ = gaps;
    pyramid_.reset();
    emit changed();
}

void LineSeries::Clear() {
    SetData({}, {}, {});
}

const EnvelopePyramid& LineSeries::Pyramid() const {
    if (!pyramid_) {
        pyramid_ = std::make_unique<EnvelopePyramid>(y_, gaps_);
    }
    return *pyramid_;
}

ValueExtent LineSeries::Extent() const {
    return Pyramid().Query(0, size());
}

std::size_t LineSeries::FirstIndexFrom(double x, std::size_t from) const noexcept {
    // Gallops from `from` before the binary search: the next column's first sample is near,
    // and a search that stays near touches few cache lines.
    std::size_t low = from;
    std::size_t step = 1;
    while (low + step < x_.size() && x_[low + step] < x) {
        low += step;
        step *= 2;
    }
    const std::size_t high = std::min(low + step + 1, x_.size());
    return static_cast<std::size_t>(std::lower_bound(x_.begin() + low, x_.begin() + high, x) -
                                    x_.begin());
}

std::pair<std::size_t, std::size_t> LineSeries::VisibleRange(const PlotGeometry& geometry) const {
    // One sample beyond each edge, so that the segments leaving the plot are drawn too.
    std::size_t first = FirstIndexFrom(geometry.PixelToX(geometry.FirstColumn()));
    const double right = geometry.PixelToX(geometry.LastColumn() + 1.0);
    std::size_t last =
        static_cast<std::size_t>(std::upper_bound(x_.begin(), x_.end(), right) - x_.begin());
    first = first > 0 ? first - 1 : 0;
    last = std::min(last + 1, x_.size());
    return {first, last};
}

void LineSeries::Draw(QPainter& painter, const PlotGeometry& geometry) {
    if (x_.empty() || geometry.plot.width() < 1.0 || geometry.plot.height() < 1.0) {
        return;
    }
    const auto [first, last] = VisibleRange(geometry);
    if (first >= last) {
        return;
    }
    painter.setPen(QPen(Color(), Width(), Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    if (static_cast<double>(last - first) > geometry.plot.width()) {
        DrawEnvelope(painter, geometry);
    } else {
        DrawPolyline(painter, geometry, first, last);
    }
}

QPointF LineSeries::PixelOf(const PlotGeometry& geometry, std::size_t i) const {
    return {Clamp(geometry.XToPixel(x_[i])), Clamp(geometry.YToPixel(y_[i]))};
}

void LineSeries::DrawPolyline(QPainter& painter, const PlotGeometry& geometry, std::size_t first,
                              std::size_t last) const {
    std::vector<QLineF> lines;
    lines.reserve(last - first);
    QPointF previous;
    bool previousDrawn = false;
    for (std::size_t i = first; i < last; ++i) {
        if (!IsDrawable(i)) {
            previousDrawn = false;
            continue;
        }
        const QPointF point = PixelOf(geometry, i);
        if (previousDrawn) {
            lines.emplace_back(previous, point);
        } else if (i + 1 >= last || !IsDrawable(i + 1)) {
            // A lone sample between gaps: one dot, on the pixel a line through it would take.
            const QPointF dot(std::floor(point.x()), std::floor(point.y()));
            lines.emplace_back(dot, dot);
        }
        previous = point;
        previousDrawn = true;
    }
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}

void LineSeries::DrawEnvelope(QPainter& painter, const PlotGeometry& geometry) const {
    const EnvelopePyramid& pyramid = Pyramid();
    const int firstColumn = static_cast<int>(std::ceil(geometry.FirstColumn()));
    const int lastColumn = static_cast<int>(std::floor(geometry.LastColumn()));
    std::vector<QLineF> strokes;
    strokes.reserve(static_cast<std::size_t>(std::max(lastColumn - firstColumn + 1, 0)));
    std::size_t begin = FirstIndexFrom(geometry.PixelToX(firstColumn));
    for (int column = firstColumn; column <= lastColumn; ++column) {
        const std::size_t end = FirstIndexFrom(geometry.PixelToX(column + 1.0), begin);
        const ValueExtent values = pyramid.Query(begin, end);
        ValueExtent rows;
        if (!values.IsEmpty()) {
            rows.Add(std::floor(Clamp(geometry.YToPixel(values.max))));
            rows.Add(std::floor(Clamp(geometry.YToPixel(values.min))));
        }
        AddCrossing(rows, geometry, begin, column);
        AddCrossing(rows, geometry, end, column + 1.0);
        if (!rows.IsEmpty()) {
            strokes.emplace_back(column, rows.min, column, rows.max);
        }
        begin = end;
    }
    painter.drawLines(strokes.data(), static_cast<int>(strokes.size()));
}

void LineSeries::AddCrossing(ValueExtent& rows, const PlotGeometry& geometry, std::size_t i,
                             double boundary) const {
    if (i == 0 || i >= x_.size() || !IsDrawable(i - 1) || !IsDrawable(i)) {
        return;
    }
    // The raster engine runs a line between the centres of its end pixels; follow it so that
    // the strokes meet where the full line would cross from one column into the next.
    const auto centre = [](const QPointF& p) {
        return QPointF(std::floor(p.x()) + 0.5, std::floor(p.y()) + 0.5);
    };
    const QPointF from = centre(PixelOf(geometry, i - 1));
    const QPointF to = centre(PixelOf(geometry, i));
    const double run = to.x() - from.x();
    const double t = run > 0.0 ? std::clamp((boundary - from.x()) / run, 0.0, 1.0) : 1.0;
    rows.Add(std::floor(from.y() + (to.y() - from.y()) * t));
}

}  // namespace faultscope
