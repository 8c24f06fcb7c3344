#include "gui/views/strip_zoom_gestures.h"

#include "gui/chart/chart.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QRubberBand>
#include <QWheelEvent>
#include <algorithm>
#include <utility>

namespace faultscope {
namespace {

// Angle delta of one notch of a common mouse wheel.
constexpr int kWheelStep = 120;

bool OverPlot(const Chart& chart, double x) {
    const QRectF plot = chart.PlotRect();
    return x >= plot.left() && x < plot.right();
}

}  // namespace

StripZoomGestures::StripZoomGestures(QObject* parent) : QObject(parent) {}

void StripZoomGestures::Watch(Chart* chart) {
    chart->installEventFilter(this);
}

bool StripZoomGestures::eventFilter(QObject* watched, QEvent* event) {
    auto* chart = qobject_cast<Chart*>(watched);
    if (chart == nullptr) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            return Press(*chart, *static_cast<QMouseEvent*>(event));
        case QEvent::MouseMove:
            return Move(*static_cast<QMouseEvent*>(event));
        case QEvent::MouseButtonRelease:
            return Release(*static_cast<QMouseEvent*>(event));
        case QEvent::Wheel:
            return Wheel(*chart, *static_cast<QWheelEvent*>(event));
        case QEvent::ContextMenu:
            return ContextMenu(*static_cast<QContextMenuEvent*>(event));
        default:
            return QObject::eventFilter(watched, event);
    }
}

bool StripZoomGestures::Press(Chart& chart, const QMouseEvent& event) {
    if (event.button() != Qt::RightButton || !OverPlot(chart, event.position().x())) {
        return false;
    }
    chart_ = &chart;
    pressX_ = qRound(event.position().x());
    menuHeld_ = false;
    zoomed_ = false;
    return true;
}

std::pair<int, int> StripZoomGestures::BandColumns(int x) const {
    const QRect plot = chart_->PlotRect().toRect();
    x = std::clamp(x, plot.left(), plot.right());
    return std::minmax(pressX_, x);
}

bool StripZoomGestures::Move(const QMouseEvent& event) {
    if (chart_ == nullptr || !event.buttons().testFlag(Qt::RightButton)) {
        return false;
    }
    const auto [left, right] = BandColumns(qRound(event.position().x()));
    if (right - left < kMinDragPixels) {
        if (band_ != nullptr) {
            band_->hide();
        }
        return true;
    }
    if (band_ == nullptr) {
        band_ = new QRubberBand(QRubberBand::Rectangle, chart_);
    }
    const QRect plot = chart_->PlotRect().toRect();
    band_->setGeometry(QRect(left, plot.top(), right - left + 1, plot.height()));
    band_->show();
    return true;
}

bool StripZoomGestures::Release(const QMouseEvent& event) {
    if (event.button() != Qt::RightButton || chart_ == nullptr) {
        return false;
    }
    const auto [left, right] = BandColumns(qRound(event.position().x()));
    delete band_.data();
    const QPointer<Chart> chart = std::exchange(chart_, nullptr);
    zoomed_ = right - left >= kMinDragPixels;
    if (zoomed_) {
        emit timeRangeChosen(chart->PixelToX(left), chart->PixelToX(right));
    } else if (std::exchange(menuHeld_, false)) {
        AskForMenu(*chart, event.position().toPoint());
    }
    return true;
}

void StripZoomGestures::AskForMenu(Chart& chart, const QPoint& pos) {
    // Sent to the chart, the event would come back here; its parents pass it up to the
    // widget that offers the menu.
    QWidget* parent = chart.parentWidget();
    if (parent == nullptr) {
        return;
    }
    QContextMenuEvent menu(QContextMenuEvent::Mouse, chart.mapTo(parent, pos), menuGlobalPos_);
    QCoreApplication::sendEvent(parent, &menu);
}

bool StripZoomGestures::ContextMenu(const QContextMenuEvent& event) {
    if (event.reason() != QContextMenuEvent::Mouse) {
        return false;
    }
    if (chart_ != nullptr) {
        menuHeld_ = true;
        menuGlobalPos_ = event.globalPos();
        return true;
    }
    // Platforms that ask for the menu on release ask after a drag too.
    return std::exchange(zoomed_, false);
}

bool StripZoomGestures::Wheel(Chart& chart, QWheelEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers.testFlag(Qt::ShiftModifier) || !OverPlot(chart, event.position().x())) {
        return false;
    }
    wheelRemainder_ += event.angleDelta().y();
    const int notches = wheelRemainder_ / kWheelStep;
    wheelRemainder_ %= kWheelStep;
    if (notches != 0) {
        if (modifiers.testFlag(Qt::ControlModifier)) {
            emit valueWheel(&chart, notches);
        } else {
            emit timeWheel(chart.PixelToX(event.position().x()), notches);
        }
    }
    event.accept();
    return true;
}

}  // namespace faultscope
