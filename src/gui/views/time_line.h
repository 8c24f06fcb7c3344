#pragma once

#include "core/record/date_time.h"
#include "gui/views/time_zoom.h"

#include <QPointF>
#include <QString>
#include <QWidget>
#include <cstddef>
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

// The time strip at the bottom of a record window. Its upper chart owns the one time axis
// that every chart of the record draws against; the overview below always shows the whole
// record, and the band on it chooses the range that the upper axis, and so every strip,
// shows.
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

    // Index of the sample nearest to `x` among those inside the visible range (all samples
    // when none is), the earlier on a tie; `nearest` takes its time. -1, with `nearest` = x,
    // when there are no samples.
    std::ptrdiff_t NearestSampleInView(double x, double& nearest) const;
    // The same over the whole record.
    std::ptrdiff_t NearestSample(double x, double& nearest) const;

    // Moves the cursor line of both charts to `x` (milliseconds).
    void SetCursor(double x);
    // Moves the band the least distance that shows `x`, keeping its width.
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
    // A left click in the upper chart, in its pixels.
    void chartClicked(QPointF pos);

  private:
    void SetUpCharts();
    void SetUpTools();
    // Shows the accepted band on the overview and on the time axis, then tells the listeners.
    void ApplyZoom();

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
    bool loaded_ = false;  // the overview and the band are set up
};

}  // namespace faultscope
