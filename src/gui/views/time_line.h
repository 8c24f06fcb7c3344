#pragma once

#include "core/record/date_time.h"
#include "gui/views/time_range_history.h"
#include "gui/views/time_zoom.h"

#include <QElapsedTimer>
#include <QPointF>
#include <QString>
#include <QWidget>
#include <cstddef>
#include <optional>
#include <span>

namespace faultscope {

class Axis;
class Band;
class Chart;
class TextBlock;
class TimeBase;
class VerticalLine;

// A record's date-time as the time line writes it, with the separators of the user's locale,
// to the millisecond or to the microsecond.
QString RecordTimeText(const DateTime& time, bool microseconds = false);
// The date-time of the sample at `timeUs` on a record's axis, to the microsecond.
QString SampleTimeText(const TimeBase& timeBase, std::int32_t timeUs);

// The time strip at the bottom of a record window. Its upper chart owns the one time axis
// that every chart of the record draws against; the overview below always shows the whole
// record, and the band on it chooses the range that the upper axis, and so every strip,
// shows. Every change of the range the user makes leaves the range before it in a history that
// Back() returns to.
// Formerly TTimeLine.
class TimeLine : public QWidget {
    Q_OBJECT

  public:
    explicit TimeLine(QWidget* parent = nullptr);

    // Shows the record's first and trigger times and sets the time axis from the first
    // sample to the last.
    void CreateTimeLine(const TimeBase& timeBase);
    // The x column of all samples in milliseconds; it must outlive the time line's use of it.
    // `ascending` says that no sample is earlier than the one before it.
    void SetSamples(std::span<const double> xMs, bool ascending);
    // Copies the time axis to the overview and selects the whole record.
    void AfterAllDataLoad();

    // Accepts the band where it stands now (at least 5 ms wide, inside the record), puts it
    // back where it was accepted, shows that range on the time axis and emits xZoom().
    void AreaResized();
    void ZoomIn();
    void ZoomOut();
    void ZoomReset();
    // Shows the range the user chose between `start` and `end` (see TimeZoom::ShowRange).
    void ShowRange(double start, double end);
    // Zooms in `notches` wheel notches about time `x` (out when negative), `x` staying where
    // it is on the screen.
    void ZoomAbout(double x, int notches);
    // Returns to the range before the user's last change; false when there is none.
    bool Back();
    [[nodiscard]] bool CanGoBack() const noexcept { return !history_.Empty(); }
    [[nodiscard]] TimeRange VisibleRange() const noexcept { return {zoom_.areaMin, zoom_.areaMax}; }

    // Index of the sample nearest to `x` among those inside the visible range (all samples
    // when none is), the earlier on a tie; `nearest` takes its time. -1, with `nearest` = x,
    // when there are no samples.
    std::ptrdiff_t NearestSampleInView(double x, double& nearest) const;
    // The same over the whole record.
    std::ptrdiff_t NearestSample(double x, double& nearest) const;

    // Moves the cursor line of both charts to `x` (milliseconds).
    void SetCursor(double x);
    // Moves the band the least distance that shows `x`, keeping its width; the cursor keys'
    // steps that move it go into the history as one while they follow each other quickly.
    void ShowTime(double x);
    [[nodiscard]] double CursorValue() const;
    // The cursor's date-time, to the microsecond, and the text that shows it ("Tкурс = …").
    [[nodiscard]] DateTime CursorDateTime() const;
    [[nodiscard]] QString CursorTimeText() const;

    [[nodiscard]] Axis* BottomAxis() const;
    [[nodiscard]] Chart* Cht() const noexcept { return cht_; }
    [[nodiscard]] Chart* XZoomControl() const noexcept { return chtXZoomControl_; }
    [[nodiscard]] const TimeZoom& Zoom() const noexcept { return zoom_; }

    [[nodiscard]] QString MinTimeText() const;
    [[nodiscard]] QString TriggerText() const;
    [[nodiscard]] QString MaxTimeText() const;

  signals:
    // The visible time range changed.
    void xZoom();
    // A range was added to the history or taken from it.
    void historyChanged();
    // A left click in the upper chart, in its pixels.
    void chartClicked(QPointF pos);

  private:
    void SetUpCharts();
    void SetUpTools();
    // Shows the accepted band on the overview and on the time axis, then tells the listeners.
    void ApplyZoom();
    // Shows the range the user has just chosen, keeping `left` in the history when it differs.
    void ApplyUserZoom(TimeRange left, TimeRangeHistory::Change change);
    void Remember(TimeRange left, TimeRangeHistory::Change change);
    // The overview's band follows the mouse; the drag goes into the history once, when it ends.
    void BandMoved();
    void BandReleased();

    Chart* cht_;
    VerticalLine* cursor_;
    Chart* chtXZoomControl_;
    Band* area_;
    VerticalLine* cursorZoom_;
    VerticalLine* lineMin_;
    VerticalLine* lineMax_;
    TextBlock* minTime_;
    TextBlock* trigger_;
    TextBlock* maxTime_;
    TextBlock* cursorTime_;

    std::span<const double> xMs_;
    bool ascending_ = true;
    DateTime firstTime_;
    std::int64_t zeroTimeUs_ = 0;  // the date-time of 0 ms on the axis
    TimeZoom zoom_;
    TimeRangeHistory history_;
    QElapsedTimer clock_;                // times the history's bursts
    std::optional<TimeRange> bandLeft_;  // the range a band drag started from
    bool loaded_ = false;                // the overview and the band are set up
};

}  // namespace faultscope
