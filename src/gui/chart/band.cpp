#include "gui/chart/band.h"

#include <cmath>

namespace faultscope {

Band::Band(QObject* parent) : Tool(parent) {}

void Band::SetRange(double start, double end) {
    if (std::isfinite(start) && std::isfinite(end) && (start != start_ || end != end_)) {
        start_ = start;
        end_ = end;
        emit changed();
    }
}

void Band::SetColor(const QColor& color) {
    color_ = color;
    emit changed();
}

void Band::Draw(QPainter& painter, const PlotGeometry& geometry) const {
    const double left = geometry.XToPixel(start_);
    const double right = geometry.XToPixel(end_);
    painter.setClipRect(geometry.plot, Qt::IntersectClip);
    painter.fillRect(
        QRectF(QPointF(left, geometry.plot.top()), QPointF(right + 1.0, geometry.plot.bottom()))
            .normalized(),
        color_);
}

Band::Grip Band::GripAt(const QPointF& pos, const PlotGeometry& geometry) const {
    if (pos.y() < geometry.plot.top() || pos.y() >= geometry.plot.bottom()) {
        return Grip::None;
    }
    const double toStart = std::abs(pos.x() - geometry.XToPixel(start_));
    const double toEnd = std::abs(pos.x() - geometry.XToPixel(end_));
    if (toStart <= kGrabDistance || toEnd <= kGrabDistance) {
        return toStart < toEnd ? Grip::Start : Grip::End;
    }
    const double value = geometry.PixelToX(pos.x());
    if (value >= std::min(start_, end_) && value <= std::max(start_, end_)) {
        return Grip::Whole;
    }
    return Grip::None;
}

bool Band::MousePress(const QPointF& pos, const PlotGeometry& geometry) {
    grip_ = GripAt(pos, geometry);
    pressX_ = geometry.PixelToX(pos.x());
    pressStart_ = start_;
    pressEnd_ = end_;
    return grip_ != Grip::None;
}

void Band::MouseMove(const QPointF& pos, const PlotGeometry& geometry) {
    const double shift = geometry.PixelToX(pos.x()) - pressX_;
    switch (grip_) {
        case Grip::Whole:
            SetRange(pressStart_ + shift, pressEnd_ + shift);
            emit dragged(start_, end_);
            break;
        case Grip::Start:
            SetRange(pressStart_ + shift, end_);
            emit resized(start_, end_);
            break;
        case Grip::End:
            SetRange(start_, pressEnd_ + shift);
            emit resized(start_, end_);
            break;
        case Grip::None:
            break;
    }
}

void Band::MouseRelease(const QPointF& /*pos*/, const PlotGeometry& /*geometry*/) {
    const bool held = grip_ != Grip::None;
    grip_ = Grip::None;
    if (held) {
        emit released();
    }
}

std::optional<Qt::CursorShape> Band::CursorAt(const QPointF& pos,
                                              const PlotGeometry& geometry) const {
    switch (GripAt(pos, geometry)) {
        case Grip::Start:
        case Grip::End:
            return Qt::SizeHorCursor;
        case Grip::Whole:
            return Qt::SizeAllCursor;
        case Grip::None:
            break;
    }
    return std::nullopt;
}

}  // namespace faultscope
