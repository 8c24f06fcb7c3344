#include "gui/chart/line_series.h"

#include <QLineF>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

namespace faultscope {
namespace {

// The same pixels as a row of one-pixel-wide strokes, in fewer rows to fill: neighbouring
// strokes of about the same span share one wide rectangle over their common rows, and only the
// rows a stroke reaches beyond it are filled column by column. Where each column spans several
// cycles of the signal, all strokes span nearly the whole swing and the plot fills in wide
// rows instead of one pixel at a time.
std::vector<QRect> MergeStrokes(const std::vector<QRect>& strokes) {
    std::vector<QRect> rects;
    rects.reserve(strokes.size());
    std::size_t first = 0;
    while (first < strokes.size()) {
        int top = strokes[first].top();
        int bottom = strokes[first].bottom();
        const int least = std::max(1, (bottom - top + 1) - std::max(2, (bottom - top + 1) / 8));
        std::size_t end = first + 1;
        while (end < strokes.size() && strokes[end].left() == strokes[end - 1].left() + 1) {
            const int sharedTop = std::max(top, strokes[end].top());
            const int sharedBottom = std::min(bottom, strokes[end].bottom());
            if (sharedBottom - sharedTop + 1 < least) {
                break;
            }
            top = sharedTop;
            bottom = sharedBottom;
            ++end;
        }
        if (end - first == 1) {
            rects.push_back(strokes[first]);
        } else {
            rects.emplace_back(strokes[first].left(), top, static_cast<int>(end - first),
                               bottom - top + 1);
            for (std::size_t i = first; i < end; ++i) {
                const QRect& stroke = strokes[i];
                if (stroke.top() < top) {
                    rects.emplace_back(stroke.left(), stroke.top(), 1, top - stroke.top());
                }
                if (stroke.bottom() > bottom) {
                    rects.emplace_back(stroke.left(), bottom + 1, 1, stroke.bottom() - bottom);
                }
            }
        }
        first = end;
    }
    return rects;
}

}  // namespace

LineSeries::LineSeries(QObject* parent) : Series(parent) {}

LineSeries::~LineSeries() = default;

void LineSeries::SetData(std::span<const double> x, std::span<const double> y,
                         std::span<const std::uint8_t> gaps) {
    if (!gaps.empty() && gaps.size() != y.size()) {
        throw std::invalid_argument("LineSeries: columns differ in length");
    }
    SetData(x, SampleColumn(y, gaps));
}

void LineSeries::SetData(std::span<const double> x, const SampleColumn& y) {
    if (x.size() != y.size()) {
        throw std::invalid_argument("LineSeries: columns differ in length");
    }
    x_ = x;
    y_ = y;
    pyramid_.reset();
    strokesView_.reset();
    strokes_.clear();
    emit changed();
}

void LineSeries::Clear() {
    SetData({}, {}, {});
}

const EnvelopePyramid& LineSeries::Pyramid() const {
    if (!pyramid_) {
        pyramid_ = EnvelopePyramid::Shared(y_);
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

std::size_t LineSeries::FirstIndexNear(double x, std::size_t from,
                                       std::size_t guess) const noexcept {
    std::size_t high = std::clamp(guess, from, x_.size());
    if (high < x_.size() && x_[high] < x) {
        return FirstIndexFrom(x, high);
    }
    // The answer is at most `high`: gallop back towards `from`.
    std::size_t step = 1;
    while (high > from) {
        const std::size_t probe = high - std::min(step, high - from);
        if (x_[probe] < x) {
            return static_cast<std::size_t>(
                std::lower_bound(x_.begin() + probe + 1, x_.begin() + high, x) - x_.begin());
        }
        high = probe;
        step *= 2;
    }
    return from;
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

void LineSeries::DrawPolyline(QPainter& painter, const PlotGeometry& geometry, std::size_t first,
                              std::size_t last) const {
    const AxisMapping toColumn = geometry.XMapping();
    const AxisMapping toRow = geometry.YMapping();
    std::vector<QLineF> lines;
    lines.reserve(last - first);
    QPointF previous;
    bool previousDrawn = false;
    for (std::size_t i = first; i < last; ++i) {
        if (!IsDrawable(i)) {
            previousDrawn = false;
            continue;
        }
        const QPointF point = PixelOf(toColumn, toRow, i);
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

LineSeries::EnvelopeView LineSeries::ViewOf(const PlotGeometry& geometry) noexcept {
    return {geometry.plot.left(),    geometry.plot.top(),     geometry.plot.width(),
            geometry.plot.height(),  geometry.x->Minimum(),   geometry.x->Maximum(),
            geometry.y->Minimum(),   geometry.y->Maximum(),   geometry.x->MinOffset(),
            geometry.x->MaxOffset(), geometry.y->MinOffset(), geometry.y->MaxOffset()};
}

void LineSeries::DrawEnvelope(QPainter& painter, const PlotGeometry& geometry) const {
    const EnvelopeView view = ViewOf(geometry);
    if (strokesView_ != view) {
        strokes_ = EnvelopeStrokes(geometry);
        strokesView_ = view;
    }
    const std::vector<QRect>& strokes = strokes_;
    if (Width() <= 1) {
        // A one-pixel stroke is a one-pixel-wide rectangle, which the raster engine fills row
        // by row straight into memory; as a line it would go through the line stroker.
        const std::vector<QRect> rects = MergeStrokes(strokes);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Color());
        painter.drawRects(rects.data(), static_cast<int>(rects.size()));
        return;
    }
    std::vector<QLineF> lines;
    lines.reserve(strokes.size());
    for (const QRect& stroke : strokes) {
        lines.emplace_back(stroke.left(), stroke.top(), stroke.left(), stroke.bottom());
    }
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}

std::vector<QRect> LineSeries::EnvelopeStrokes(const PlotGeometry& geometry) const {
    const EnvelopePyramid& pyramid = Pyramid();
    const AxisMapping toColumn = geometry.XMapping();
    const AxisMapping toRow = geometry.YMapping();
    const int firstColumn = static_cast<int>(std::ceil(geometry.FirstColumn()));
    const int lastColumn = static_cast<int>(std::floor(geometry.LastColumn()));
    if (lastColumn < firstColumn) {
        return {};
    }
    // Rows beyond these are clipped away whatever their distance, so strokes stop there.
    const double topRow = std::floor(geometry.FirstRow()) - 1.0;
    const double bottomRow = std::floor(geometry.LastRow()) + 1.0;
    const auto row = [&](double value) { return std::floor(std::clamp(value, topRow, bottomRow)); };

    // The raster engine runs a line between the centres of its end pixels; follow it so that
    // the strokes meet where the full line would cross from one column into the next. The
    // segment from sample i - 1 to sample i crosses `boundary`; NaN where no segment does.
    const auto crossing = [&](std::size_t i, double boundary) {
        if (i == 0 || i >= x_.size() || !IsDrawable(i - 1) || !IsDrawable(i)) {
            return std::numeric_limits<double>::quiet_NaN();
        }
        const auto centre = [](const QPointF& p) {
            return QPointF(std::floor(p.x()) + 0.5, std::floor(p.y()) + 0.5);
        };
        const QPointF from = centre(PixelOf(toColumn, toRow, i - 1));
        const QPointF to = centre(PixelOf(toColumn, toRow, i));
        const double run = to.x() - from.x();
        const double t = run > 0.0 ? std::clamp((boundary - from.x()) / run, 0.0, 1.0) : 1.0;
        return row(from.y() + (to.y() - from.y()) * t);
    };

    const auto columns = static_cast<std::size_t>(lastColumn - firstColumn + 1);
    std::vector<QRect> strokes;
    strokes.reserve(columns);
    std::size_t begin = FirstIndexFrom(geometry.PixelToX(firstColumn));
    double leftCrossing = crossing(begin, firstColumn);
    std::size_t perColumn = 0;
    for (int column = firstColumn; column <= lastColumn; ++column) {
        const double boundary = column + 1.0;
        // Columns hold about as many samples as the one before when the sampling is steady.
        const std::size_t end =
            FirstIndexNear(geometry.PixelToX(boundary), begin, begin + perColumn);
        perColumn = end - begin;
        const double rightCrossing = crossing(end, boundary);
        ValueExtent rows;
        const ValueExtent values = pyramid.Query(begin, end);
        if (!values.IsEmpty()) {
            rows.Add(row(toRow(values.max)));
            rows.Add(row(toRow(values.min)));
        }
        // NaN compares false, so a missing crossing adds nothing.
        if (leftCrossing == leftCrossing) {
            rows.Add(leftCrossing);
        }
        if (rightCrossing == rightCrossing) {
            rows.Add(rightCrossing);
        }
        if (!rows.IsEmpty()) {
            const int top = static_cast<int>(rows.min);
            strokes.emplace_back(column, top, 1, static_cast<int>(rows.max) - top + 1);
        }
        begin = end;
        leftCrossing = rightCrossing;
    }
    return strokes;
}

}  // namespace faultscope
