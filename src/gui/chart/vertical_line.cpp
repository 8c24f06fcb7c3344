#include "gui/chart/vertical_line.h"

#include "gui/chart/number_format.h"

#include <QFontMetricsF>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace faultscope {

VerticalLine::VerticalLine(QObject* parent) : Tool(parent) {}

void VerticalLine::SetValue(double value) {
    if (std::isfinite(value) && value != value_) {
        value_ = value;
        emit changed();
    }
}

void VerticalLine::SetColor(const QColor& color) {
    color_ = color;
    emit changed();
}

void VerticalLine::SetWidth(int width) {
    width_ = std::max(width, 1);
    emit changed();
}

void VerticalLine::SetCap(Qt::PenCapStyle cap) {
    cap_ = cap;
    emit changed();
}

void VerticalLine::SetDraggable(bool draggable) {
    draggable_ = draggable;
}

void VerticalLine::SetDragLimits(double min, double max) {
    dragMin_ = std::min(min, max);
    dragMax_ = std::max(min, max);
}

void VerticalLine::SetTagVisible(bool visible) {
    tagVisible_ = visible;
    emit changed();
}

void VerticalLine::SetTagAlignment(Qt::Alignment alignment) {
    tagAlignment_ = alignment;
    emit changed();
}

void VerticalLine::SetTagFormat(const QString& pattern) {
    tagFormat_ = pattern;
    emit changed();
}

void VerticalLine::SetTagText(const QString& text) {
    tagText_ = text;
    emit changed();
}

QString VerticalLine::TagText() const {
    return tagText_.isEmpty() ? FormatPicture(value_, tagFormat_) : tagText_;
}

void VerticalLine::Draw(QPainter& painter, const PlotGeometry& geometry) const {
    const double x = geometry.XToPixel(value_);
    if (x < geometry.FirstColumn() || x >= geometry.LastColumn() + 1.0) {
        return;
    }
    painter.setClipRect(geometry.plot, Qt::IntersectClip);
    painter.setPen(QPen(color_, width_, Qt::SolidLine, cap_));
    const double top = geometry.FirstRow();
    const double bottom = geometry.LastRow();
    if (!tagVisible_) {
        painter.drawLine(QPointF(x, top), QPointF(x, bottom));
        return;
    }
    const QRectF tag = TagRect(QFontMetricsF(painter.font()), x, geometry);
    if (tag.top() > top) {
        painter.drawLine(QPointF(x, top), QPointF(x, tag.top()));
    }
    if (tag.bottom() < bottom) {
        painter.drawLine(QPointF(x, tag.bottom()), QPointF(x, bottom));
    }
    DrawTag(painter, tag);
}

QRectF VerticalLine::TagRect(const QFontMetricsF& metrics, double x,
                             const PlotGeometry& geometry) const {
    const QSizeF size(metrics.horizontalAdvance(TagText()) + 6.0, metrics.height() + 2.0);
    const double halfPen = width_ / 2.0;
    double left = x - size.width() / 2.0;
    if (tagAlignment_ & Qt::AlignLeft) {
        left = x + halfPen - size.width();
    } else if (tagAlignment_ & Qt::AlignRight) {
        left = x - halfPen;
    }
    const QRectF& plot = geometry.plot;
    double top = plot.center().y() - size.height() / 2.0;
    if (tagAlignment_ & Qt::AlignTop) {
        top = plot.top();
    } else if (tagAlignment_ & Qt::AlignBottom) {
        top = plot.bottom() - size.height();
    }
    return {QPointF(left, top), size};
}

void VerticalLine::DrawTag(QPainter& painter, const QRectF& rect) const {
    painter.setPen(QPen(color_, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(rect.adjusted(0.0, 0.0, -1.0, -1.0));
    painter.setPen(Qt::black);
    painter.drawText(rect, Qt::AlignCenter, TagText());
}

bool VerticalLine::IsNear(const QPointF& pos, const PlotGeometry& geometry) const {
    const double reach = std::max(kGrabDistance, width_ / 2.0 + 1.0);
    return std::abs(pos.x() - geometry.XToPixel(value_)) <= reach &&
           pos.y() >= geometry.plot.top() && pos.y() < geometry.plot.bottom();
}

bool VerticalLine::MousePress(const QPointF& pos, const PlotGeometry& geometry) {
    return draggable_ && IsNear(pos, geometry);
}

void VerticalLine::MouseMove(const QPointF& pos, const PlotGeometry& geometry) {
    SetValue(std::clamp(geometry.PixelToX(pos.x()), dragMin_, dragMax_));
    emit dragged(value_);
}

void VerticalLine::MouseRelease(const QPointF& /*pos*/, const PlotGeometry& /*geometry*/) {
    emit dragEnded(value_);
}

std::optional<Qt::CursorShape> VerticalLine::CursorAt(const QPointF& pos,
                                                      const PlotGeometry& geometry) const {
    if (draggable_ && IsNear(pos, geometry)) {
        return Qt::SizeHorCursor;
    }
    return std::nullopt;
}

}  // namespace faultscope
