#include "gui/chart/axis_scroll_bar.h"

#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <utility>

namespace faultscope {

AxisScrollBar::AxisScrollBar(Axis* axis, QObject* parent) : Tool(parent), axis_(axis) {
    if (axis != nullptr) {
        contentMin_ = axis->Minimum();
        contentMax_ = axis->Maximum();
    }
}

void AxisScrollBar::SetAllowScroll(AllowScroll check) {
    allowScroll_ = std::move(check);
}

void AxisScrollBar::SetContentRange(double min, double max) {
    contentMin_ = std::min(min, max);
    contentMax_ = std::max(min, max);
    emit changed();
}

void AxisScrollBar::SetBarWidth(int pixels) {
    barWidth_ = std::max(pixels, 4);
    emit changed();
}

void AxisScrollBar::SetMinThumbLength(int pixels) {
    minThumb_ = std::max(pixels, 1);
    emit changed();
}

void AxisScrollBar::SetOffset(int pixels) {
    offset_ = pixels;
    emit changed();
}

void AxisScrollBar::SetThumbColor(const QColor& color) {
    thumbColor_ = color;
    emit changed();
}

void AxisScrollBar::SetArrowColor(const QColor& color) {
    arrowColor_ = color;
    emit changed();
}

bool AxisScrollBar::ScrollTo(double min, double max) {
    if (axis_ == nullptr || (allowScroll_ && !allowScroll_(min, max))) {
        return false;
    }
    return axis_->SetRange(min, max);
}

void AxisScrollBar::ScrollBy(double shift) {
    if (axis_ != nullptr) {
        ScrollTo(axis_->Minimum() + shift, axis_->Maximum() + shift);
    }
}

AxisScrollBar::Layout AxisScrollBar::LayoutFor(const PlotGeometry& geometry) const {
    Layout layout;
    const QRectF& plot = geometry.plot;
    layout.bar = QRectF(plot.left() - offset_ - barWidth_, plot.top(), barWidth_, plot.height());
    const double arrow = std::min<double>(barWidth_, plot.height() / 3.0);
    layout.upArrow = QRectF(layout.bar.topLeft(), QSizeF(barWidth_, arrow));
    layout.downArrow = QRectF(layout.bar.left(), layout.bar.bottom() - arrow, barWidth_, arrow);
    layout.track = layout.bar.adjusted(0.0, arrow, 0.0, -arrow);
    if (axis_ == nullptr) {
        return layout;
    }
    const double top = std::max(contentMax_, axis_->Maximum());
    const double content = top - std::min(contentMin_, axis_->Minimum());
    const double visible = axis_->Maximum() - axis_->Minimum();
    const double track = layout.track.height();
    double thumb = content > 0.0 ? track * visible / content : track;
    thumb = std::clamp(thumb, std::min<double>(minThumb_, track), track);
    const double travel = track - thumb;
    const double hidden = content - visible;
    const double above = hidden > 0.0 ? travel * (top - axis_->Maximum()) / hidden : 0.0;
    layout.thumb = QRectF(layout.track.left(), layout.track.top() + above, barWidth_, thumb);
    layout.valuesPerPixel = travel > 0.0 ? hidden / travel : 0.0;
    return layout;
}

void AxisScrollBar::Draw(QPainter& painter, const PlotGeometry& geometry) const {
    const Layout layout = LayoutFor(geometry);
    painter.fillRect(layout.bar, QColor(240, 240, 240));
    painter.fillRect(layout.thumb, thumbColor_);
    DrawArrow(painter, layout.upArrow, true);
    DrawArrow(painter, layout.downArrow, false);
}

void AxisScrollBar::DrawArrow(QPainter& painter, const QRectF& box, bool up) const {
    const QRectF glyph = box.adjusted(3.0, 4.0, -3.0, -4.0);
    QPainterPath triangle;
    triangle.moveTo(glyph.center().x(), up ? glyph.top() : glyph.bottom());
    triangle.lineTo(glyph.right(), up ? glyph.bottom() : glyph.top());
    triangle.lineTo(glyph.left(), up ? glyph.bottom() : glyph.top());
    triangle.closeSubpath();
    painter.fillPath(triangle, arrowColor_);
}

bool AxisScrollBar::MousePress(const QPointF& pos, const PlotGeometry& geometry) {
    const Layout layout = LayoutFor(geometry);
    if (axis_ == nullptr || !layout.bar.contains(pos)) {
        return false;
    }
    const double range = axis_->Maximum() - axis_->Minimum();
    if (layout.upArrow.contains(pos)) {
        ScrollBy(range / 10.0);
    } else if (layout.downArrow.contains(pos)) {
        ScrollBy(-range / 10.0);
    } else if (pos.y() < layout.thumb.top()) {
        ScrollBy(range);
    } else if (pos.y() >= layout.thumb.bottom()) {
        ScrollBy(-range);
    } else {
        draggingThumb_ = true;
        pressY_ = pos.y();
        pressMin_ = axis_->Minimum();
        pressMax_ = axis_->Maximum();
        pressValuesPerPixel_ = layout.valuesPerPixel;
    }
    return true;
}

void AxisScrollBar::MouseMove(const QPointF& pos, const PlotGeometry& /*geometry*/) {
    if (!draggingThumb_) {
        return;
    }
    // Values grow upwards: moving the thumb up shows higher values.
    const double shift = (pressY_ - pos.y()) * pressValuesPerPixel_;
    ScrollTo(pressMin_ + shift, pressMax_ + shift);
}

void AxisScrollBar::MouseRelease(const QPointF& /*pos*/, const PlotGeometry& /*geometry*/) {
    draggingThumb_ = false;
}

}  // namespace faultscope
