#include "gui/views/impedance_plane.h"

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace faultscope {
namespace {

constexpr double kMinGridPixels = 60.0;
constexpr double kWheelZoom = 1.25;  // per notch
constexpr double kFitMargin = 1.15;
constexpr double kDefaultHalfRange = 10.0;  // ohms shown around the origin without data
constexpr double kDotRadius = 2.5;
constexpr double kCursorRadius = 5.5;
const QColor kGridColor(225, 225, 225);
const QColor kAxisColor(90, 90, 90);
const QColor kPathColor(30, 80, 200);
const QColor kDotColor(10, 40, 130);
const QColor kCursorColor(220, 0, 0);

// The grid's step: 1, 2 or 5 times a power of ten, at least `least`.
double GridStep(double least) {
    const double decade = std::pow(10.0, std::floor(std::log10(least)));
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * decade >= least) {
            return m * decade;
        }
    }
    return 10.0 * decade;
}

QString OhmsText(double v) {
    return QString::number(std::fabs(v) < 1e-12 ? 0.0 : v, 'g', 6);
}

struct Bounds {
    double left = 0.0, right = 0.0, bottom = 0.0, top = 0.0;

    void Add(double r, double x) {
        left = std::min(left, r);
        right = std::max(right, r);
        bottom = std::min(bottom, x);
        top = std::max(top, x);
    }
};

}  // namespace

ImpedancePlane::ImpedancePlane(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("impedancePlane"));
    setMinimumSize(200, 200);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::OpenHandCursor);
}

void ImpedancePlane::SetTrajectory(ImpedanceTrajectory trajectory) {
    trajectory_ = std::move(trajectory);
    layerValid_ = false;
    update();
}

void ImpedancePlane::SetZones(std::vector<ZoneOutline> zones) {
    zones_ = std::move(zones);
    layerValid_ = false;
    update();
}

void ImpedancePlane::SetCursorPoint(std::optional<Phasor> z) {
    if (z == cursor_) {
        return;
    }
    cursor_ = z;
    update();
}

void ImpedancePlane::FitView() {
    Bounds b;
    for (const TrajectoryPoint& p : trajectory_.path) {
        b.Add(p.z.real(), p.z.imag());
    }
    for (const ZoneOutline& zone : zones_) {
        for (const ZonePoint& p : zone.ring) {
            b.Add(p.x, p.y);
        }
    }
    if (b.right - b.left <= 0.0 && b.top - b.bottom <= 0.0) {
        b = {-kDefaultHalfRange, kDefaultHalfRange, -kDefaultHalfRange, kDefaultHalfRange};
    }
    centre_ = {(b.left + b.right) / 2.0, (b.bottom + b.top) / 2.0};
    const double w = std::max(width(), 1);
    const double h = std::max(height(), 1);
    ohmsPerPixel_ = std::max((b.right - b.left) / w, (b.top - b.bottom) / h) * kFitMargin;
    viewMoved_ = false;
    ViewChanged();
}

QPointF ImpedancePlane::ToPixel(Phasor z) const noexcept {
    return {width() / 2.0 + (z.real() - centre_.real()) / ohmsPerPixel_,
            height() / 2.0 - (z.imag() - centre_.imag()) / ohmsPerPixel_};
}

Phasor ImpedancePlane::FromPixel(QPointF pixel) const noexcept {
    return {centre_.real() + (pixel.x() - width() / 2.0) * ohmsPerPixel_,
            centre_.imag() - (pixel.y() - height() / 2.0) * ohmsPerPixel_};
}

void ImpedancePlane::CopyPicture() {
    QApplication::clipboard()->setImage(grab().toImage());
}

void ImpedancePlane::ViewChanged() {
    layerValid_ = false;
    update();
}

void ImpedancePlane::paintEvent(QPaintEvent*) {
    if (!layerValid_ || layer_.size() != size() * devicePixelRatioF()) {
        DrawLayer();
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, layer_);
    DrawCursorPoint(painter);
}

void ImpedancePlane::DrawLayer() {
    layer_ = QPixmap(size() * devicePixelRatioF());
    layer_.setDevicePixelRatio(devicePixelRatioF());
    layer_.fill(Qt::white);
    QPainter painter(&layer_);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawGrid(painter);
    DrawZones(painter);
    DrawTrajectory(painter);
    layerValid_ = true;
}

void ImpedancePlane::DrawGrid(QPainter& painter) const {
    const double step = GridStep(kMinGridPixels * ohmsPerPixel_);
    const Phasor low = FromPixel(QPointF(0, height()));
    const Phasor high = FromPixel(QPointF(width(), 0));
    const QPointF origin = ToPixel({0.0, 0.0});
    painter.setFont(font());
    for (double r = std::ceil(low.real() / step) * step; r <= high.real(); r += step) {
        const double px = ToPixel({r, 0.0}).x();
        painter.setPen(kGridColor);
        painter.drawLine(QPointF(px, 0), QPointF(px, height()));
        painter.setPen(kAxisColor);
        painter.drawText(QPointF(px + 2, height() - 4), OhmsText(r));
    }
    for (double x = std::ceil(low.imag() / step) * step; x <= high.imag(); x += step) {
        const double py = ToPixel({0.0, x}).y();
        painter.setPen(kGridColor);
        painter.drawLine(QPointF(0, py), QPointF(width(), py));
        painter.setPen(kAxisColor);
        painter.drawText(QPointF(3, py - 2), OhmsText(x));
    }
    painter.setPen(QPen(kAxisColor, 1.5));
    painter.drawLine(QPointF(0, origin.y()), QPointF(width(), origin.y()));
    painter.drawLine(QPointF(origin.x(), 0), QPointF(origin.x(), height()));
    const QFontMetrics metrics(font());
    const QString r = QStringLiteral("R, Ом");
    painter.drawText(QPointF(width() - metrics.horizontalAdvance(r) - 4, origin.y() - 4), r);
    painter.drawText(QPointF(origin.x() + 4, metrics.ascent() + 2), QStringLiteral("X, Ом"));
}

void ImpedancePlane::DrawZones(QPainter& painter) const {
    for (const ZoneOutline& zone : zones_) {
        if (zone.ring.size() < 2) {
            continue;
        }
        QPolygonF outline;
        outline.reserve(static_cast<qsizetype>(zone.ring.size()));
        for (const ZonePoint& p : zone.ring) {
            outline.push_back(ToPixel({p.x, p.y}));
        }
        painter.setPen(QPen(zone.color, 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolygon(outline);
    }
}

void ImpedancePlane::DrawTrajectory(QPainter& painter) const {
    QPainterPath path;
    for (const TrajectoryPoint& p : trajectory_.path) {
        if (p.joined) {
            path.lineTo(ToPixel(p.z));
        } else {
            path.moveTo(ToPixel(p.z));
        }
    }
    painter.setPen(QPen(kPathColor, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kDotColor);
    for (const TrajectoryPoint& p : trajectory_.dots) {
        painter.drawEllipse(ToPixel(p.z), kDotRadius, kDotRadius);
    }
}

void ImpedancePlane::DrawCursorPoint(QPainter& painter) const {
    if (!cursor_) {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 2.0));
    painter.setBrush(kCursorColor);
    painter.drawEllipse(ToPixel(*cursor_), kCursorRadius, kCursorRadius);
}

void ImpedancePlane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (viewMoved_) {
        ViewChanged();
    } else {
        FitView();
    }
}

void ImpedancePlane::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0) {
        return;
    }
    // The impedance under the pointer stays under it.
    const QPointF at = event->position();
    const Phasor fixed = FromPixel(at);
    ohmsPerPixel_ *= std::pow(kWheelZoom, -notches);
    const Phasor moved = FromPixel(at);
    centre_ += fixed - moved;
    viewMoved_ = true;
    ViewChanged();
    event->accept();
}

void ImpedancePlane::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        dragFrom_ = event->position();
        setCursor(Qt::ClosedHandCursor);
    }
}

void ImpedancePlane::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) {
        return;
    }
    const QPointF delta = event->position() - dragFrom_;
    dragFrom_ = event->position();
    centre_ -= Phasor(delta.x() * ohmsPerPixel_, -delta.y() * ohmsPerPixel_);
    viewMoved_ = true;
    ViewChanged();
}

void ImpedancePlane::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
        setCursor(Qt::OpenHandCursor);
    }
}

}  // namespace faultscope
