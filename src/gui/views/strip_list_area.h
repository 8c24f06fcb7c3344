#pragma once

#include "gui/chart/chart.h"

#include <QPointF>
#include <QScrollArea>
#include <span>

class QVBoxLayout;

namespace faultscope {

class StripZoomGestures;

// The scrolling frame of a list of channel strips: strips stacked from the top in a given
// order, hidden ones taking no room, as wide as the frame; no horizontal scroll bar. A wheel
// step that the strips' zoom gestures leave (over the captions and readouts, or with Shift)
// scrolls the list by a twentieth of its height, and the strips' charts never pan. The
// vertical scroll bar and the parent's right padding follow the scroll padding rule, so the
// strips' right edges stay in one column with the time line.
class StripListArea : public QScrollArea {
    Q_OBJECT

  public:
    explicit StripListArea(QWidget* parent = nullptr);

    // The zoom gestures over the strips' charts.
    [[nodiscard]] StripZoomGestures* Gestures() const noexcept { return gestures_; }

  signals:
    // A strip's chart was clicked at `pos`, in that chart's pixels.
    void chtClick(faultscope::Chart* cht, QPointF pos);

  protected:
    // The widget that owns the strips.
    [[nodiscard]] QWidget* Content() const noexcept { return content_; }
    // Lays the strips out top to bottom in this order and repaints once.
    void StackStrips(std::span<QWidget* const> strips);
    // Gives the zoom gestures over a new strip's chart.
    void WatchChart(Chart* chart);

    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void RequestScrollPadding();
    void ApplyScrollPadding();

    QWidget* content_;
    QVBoxLayout* stack_;
    StripZoomGestures* gestures_;
    int wheelRemainder_ = 0;
    bool paddingRequested_ = false;
};

}  // namespace faultscope
