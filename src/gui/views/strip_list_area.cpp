#include "gui/views/strip_list_area.h"

#include "gui/views/scroll_padding.h"
#include "gui/views/strip_zoom_gestures.h"

#include <QEvent>
#include <QProxyStyle>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace faultscope {
namespace {

// Angle delta of one notch of a common mouse wheel.
constexpr int kWheelStep = 120;

// The frame reserves its scroll bar's size hint, which comes from the style, not the bar's
// fixed width; this style makes the two agree, so the bar takes exactly the padding's place.
class ScrollBarExtentStyle : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_ScrollBarExtent) {
            return kScrollBarWidth;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

StripListArea::StripListArea(QWidget* parent)
    : QScrollArea(parent),
      content_(new QWidget),
      stack_(new QVBoxLayout(content_)),
      gestures_(new StripZoomGestures(this)) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* barStyle = new ScrollBarExtentStyle;
    barStyle->setParent(this);
    verticalScrollBar()->setStyle(barStyle);
    verticalScrollBar()->setTracking(true);
    verticalScrollBar()->installEventFilter(this);
    stack_->setContentsMargins(0, 0, 0, 0);
    stack_->setSpacing(0);
    stack_->addStretch(1);
    setWidgetResizable(true);
    setWidget(content_);
}

void StripListArea::StackStrips(std::span<QWidget* const> strips) {
    content_->setUpdatesEnabled(false);
    while (QLayoutItem* item = stack_->takeAt(0)) {
        delete item;
    }
    for (QWidget* strip : strips) {
        stack_->addWidget(strip);
    }
    stack_->addStretch(1);
    content_->setUpdatesEnabled(true);
}

void StripListArea::WatchChart(Chart* chart) {
    gestures_->Watch(chart);
}

void StripListArea::wheelEvent(QWheelEvent* event) {
    // Some systems turn a wheel held with Shift into a sideways one.
    const QPoint delta = event->angleDelta();
    const bool sideways = delta.y() == 0 && event->modifiers().testFlag(Qt::ShiftModifier);
    wheelRemainder_ += sideways ? delta.x() : delta.y();
    const int steps = wheelRemainder_ / kWheelStep;
    wheelRemainder_ %= kWheelStep;
    QScrollBar* bar = verticalScrollBar();
    // A step away from the user (positive delta) scrolls up.
    bar->setValue(bar->value() - steps * (height() / 20));
    event->accept();
}

void StripListArea::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    RequestScrollPadding();
}

bool StripListArea::eventFilter(QObject* watched, QEvent* event) {
    // The bar comes and goes with the strips' total height, not only with the frame's size.
    if (watched == verticalScrollBar() &&
        (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        RequestScrollPadding();
    }
    return QScrollArea::eventFilter(watched, event);
}

void StripListArea::RequestScrollPadding() {
    // Changing the parent's padding resizes this frame; done while the frame is still laying
    // out its scroll bar and strips, it would leave the strips at their old width.
    if (!paddingRequested_) {
        paddingRequested_ = true;
        QTimer::singleShot(0, this, &StripListArea::ApplyScrollPadding);
    }
}

void StripListArea::ApplyScrollPadding() {
    paddingRequested_ = false;
    if (QWidget* parent = parentWidget()) {
        SetScrollPadding(*this, *parent);
    }
}

}  // namespace faultscope
