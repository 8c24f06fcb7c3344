#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <utility>

class QContextMenuEvent;
class QMouseEvent;
class QRubberBand;
class QWheelEvent;

namespace faultscope {

class Chart;

// The mouse's zoom gestures over the charts of a strip list. A drag with the right button over
// a plot draws a rubber band there and, on release, chooses its time range; one narrower than
// kMinDragPixels chooses nothing. The wheel over a plot zooms time about the pointer, and with
// Ctrl the values of that strip. The wheel over the captions and readouts left of the plots,
// or with Shift, is left to the list, which scrolls. A right click without a drag still opens
// the context menu: the menu the platform asks for while the button is down is held back and
// asked for again when the button comes up where it went down.
class StripZoomGestures : public QObject {
    Q_OBJECT

  public:
    static constexpr int kMinDragPixels = 5;

    explicit StripZoomGestures(QObject* parent = nullptr);

    // Takes the gestures over `chart`.
    void Watch(Chart* chart);

  signals:
    // The rubber band chose [start, end], in milliseconds.
    void timeRangeChosen(double start, double end);
    // Whole wheel notches over time `x`, positive away from the user.
    void timeWheel(double x, int notches);
    // Whole wheel notches with Ctrl over `chart`.
    void valueWheel(faultscope::Chart* chart, int notches);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool Press(Chart& chart, const QMouseEvent& event);
    bool Move(const QMouseEvent& event);
    bool Release(const QMouseEvent& event);
    bool Wheel(Chart& chart, QWheelEvent& event);
    bool ContextMenu(const QContextMenuEvent& event);
    // The band's left and right pixels, inside the plot.
    [[nodiscard]] std::pair<int, int> BandColumns(int x) const;
    void AskForMenu(Chart& chart, const QPoint& pos);

    QPointer<Chart> chart_;  // under the right button, from its press to its release
    QPointer<QRubberBand> band_;
    int pressX_ = 0;
    bool menuHeld_ = false;  // the platform asked for the menu during this press
    bool zoomed_ = false;    // the last right-button gesture was a drag
    QPoint menuGlobalPos_;
    int wheelRemainder_ = 0;
};

}  // namespace faultscope
