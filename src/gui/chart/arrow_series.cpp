#include "gui/chart/arrow_series.h"

#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace faultscope {

ArrowSeries::ArrowSeries(QObject* parent) : Series(parent) {}

void ArrowSeries::Clear() {
    arrows_.clear();
    Changed();
}

void ArrowSeries::Add(const QPointF& from, const QPointF& to, const QColor& color,
                      const QString& label) {
    arrows_.push_back({from, to, color, label});
    Changed();
}

void ArrowSeries::SetHeadSize(int width, int length) {
    headWidth_ = std::max(width, 0);
    headLength_ = std::max(length, 0);
    Changed();
}

void ArrowSeries::SetTransparency(int percent) {
    transparency_ = std::clamp(percent, 0, 100);
    Changed();
}

void ArrowSeries::EndUpdate() {
    if (held_ > 0 && --held_ == 0 && pending_) {
        pending_ = false;
        emit changed();
    }
}

void ArrowSeries::Changed() {
    if (held_ > 0) {
        pending_ = true;
    } else {
        emit changed();
    }
}

void ArrowSeries::Draw(QPainter& painter, const PlotGeometry& geometry) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double opacity = 1.0 - transparency_ / 100.0;
    for (const Arrow& arrow : arrows_) {
        const QPointF from(geometry.XToPixel(arrow.from.x()), geometry.YToPixel(arrow.from.y()));
        const QPointF tip(geometry.XToPixel(arrow.to.x()), geometry.YToPixel(arrow.to.y()));
        QColor color = arrow.color;
        color.setAlphaF(static_cast<float>(opacity * color.alphaF()));
        const QLineF shaft(from, tip);
        const double length = shaft.length();
        if (!std::isfinite(length)) {
            continue;
        }
        // The shaft ends where the head begins, so the pen's width does not blunt the tip.
        const double head = std::min<double>(headLength_, length);
        const QPointF unit = length > 0.0 ? (tip - from) / length : QPointF(0.0, 0.0);
        const QPointF base = tip - unit * head;
        painter.setPen(QPen(color, Width(), Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(from, base);
        if (length <= 0.0) {
            continue;
        }
        const QPointF across(-unit.y() * headWidth_ / 2.0, unit.x() * headWidth_ / 2.0);
        QPainterPath path;
        path.moveTo(tip);
        path.lineTo(base + across);
        path.lineTo(base - across);
        path.closeSubpath();
        painter.fillPath(path, color);
    }
}

}  // namespace faultscope
