#pragma once

#include "core/analysis/harmonics_at.h"
#include "core/record/record_config.h"
#include "core/record/record_data.h"
#include "gui/chart/chart.h"
#include "gui/chart/envelope_pyramid.h"
#include "gui/views/strip_plot.h"

#include <QColor>
#include <QFrame>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace faultscope {

class Axis;
class AxisScrollBar;
class LineSeries;
class TextBlock;
class VerticalLine;
struct ReadoutValues;

// Line colour of a channel's signal, by its phase field, letters in either case: "a" yellow,
// else "b" green, else "c" red, else navy.
QColor SeriesColorForPhase(std::string_view ph);

// One analog channel as a strip: a chart of the signal over the shared time axis with the
// record cursor, the channel caption and the readout of the values at the cursor in its left
// margin, and a grip along the lower edge that sets the strip's height. The strip draws columns
// owned elsewhere and copies nothing.
// Formerly TAFrame1.
class AnalogStrip : public QFrame {
    Q_OBJECT

  public:
    static constexpr int kDesignHeight = 294;
    static constexpr int kMinHeight = 50;

    explicit AnalogStrip(QWidget* parent = nullptr);

    // Binds the strip to the time axis shared by all charts of the record and to its channel.
    void Init(faultscope::Axis* bottomAxis, const AnalogChannel& channelInfo, double frequency);
    // Shows the channel's samples at the times `xMs`. The columns must stay where they are
    // while the strip shows them; hand them again after they change. Result columns that do
    // not match the samples in length are left out.
    void SetColumns(std::span<const double> xMs, const AnalogColumns& columns);
    [[nodiscard]] const AnalogColumns* Columns() const noexcept { return columns_; }

    // Puts the cursor on sample `point` and rewrites the readout; an index outside the samples
    // changes nothing.
    void SetCursor(std::ptrdiff_t point);
    // The sample index the cursor stands on; -1 before the first SetCursor.
    [[nodiscard]] std::ptrdiff_t CursorPoint() const noexcept { return cursorPoint_; }
    // The harmonics at the cursor as the readout shows them, computed once when the cursor was
    // placed; nothing when the analysis refuses the record, or since the columns changed and the
    // cursor was not placed again.
    [[nodiscard]] const std::optional<HarmonicReading>& CursorReading() const noexcept {
        return cursorReading_;
    }

    // Shows or hides the RMS series of harmonic 1, 2, 3 or 5; other numbers throw
    // std::invalid_argument.
    void SetHarmonicVisible(int harmonic, bool visible);
    [[nodiscard]] bool HarmonicVisible(int harmonic) const;

    // Sets the strip's height, never below kMinHeight.
    void SetHeight(int height);
    // Draws the caption in the selection colours while the strip is the one a search found.
    void SetHighlighted(bool highlighted);
    [[nodiscard]] bool Highlighted() const noexcept { return highlighted_; }
    // Position in the display order of the strip's list.
    void SetTag(int tag) noexcept { tag_ = tag; }
    [[nodiscard]] int Tag() const noexcept { return tag_; }

    // The readout: six lines, each ending in LF CR.
    [[nodiscard]] const QString& ReadoutText() const noexcept { return readout_; }
    [[nodiscard]] const AnalogChannel& Info() const noexcept { return info_; }
    [[nodiscard]] double Frequency() const noexcept { return frequency_; }
    // The sample times the strip shows, in milliseconds.
    [[nodiscard]] std::span<const double> Times() const noexcept { return xMs_; }
    // Lowest and highest value of the drawn series, the limits of value scrolling.
    [[nodiscard]] ValueExtent DataLimits() const;

    [[nodiscard]] Chart* Cht() const noexcept { return cht_; }
    [[nodiscard]] LineSeries* Series() const noexcept { return series_; }
    [[nodiscard]] LineSeries* SCurrent1() const noexcept { return sCurrent1_; }
    [[nodiscard]] LineSeries* SCurrent2() const noexcept { return sCurrent2_; }
    [[nodiscard]] LineSeries* SCurrent3() const noexcept { return sCurrent3_; }
    [[nodiscard]] LineSeries* SCurrent5() const noexcept { return sCurrent5_; }
    [[nodiscard]] LineSeries* SAngle() const noexcept { return sAngle_; }
    [[nodiscard]] VerticalLine* Cursor() const noexcept { return cursor_; }
    [[nodiscard]] TextBlock* Annotation() const noexcept { return annotation_; }
    [[nodiscard]] TextBlock* AnnotationCaption() const noexcept { return annotationCaption_; }
    [[nodiscard]] AxisScrollBar* AxScrollBar() const noexcept { return axScrollBar_; }
    [[nodiscard]] QWidget* pnlResize() const noexcept { return pnlResize_; }

  signals:
    // The user clicked the strip's chart at `pos`, in the chart's pixels.
    void chtClick(faultscope::Chart* cht, QPointF pos);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildChart();
    void BuildSeries();
    void BuildTools();
    [[nodiscard]] LineSeries* SCurrent(int harmonic) const;
    void AnalyseAtCursor(std::size_t i, ReadoutValues& values);
    void UpdateScrollContent();
    void chtResize();
    [[nodiscard]] bool chtAllowScroll(double aMin, double aMax) const;
    void pnlResizeMouseDown(const QPoint& globalPos);
    void pnlResizeMouseMove(const QPoint& posInStrip);
    void pnlResizeMouseUp();

    Chart* cht_ = nullptr;
    LineSeries* series_ = nullptr;
    LineSeries* sCurrent1_ = nullptr;
    LineSeries* sCurrent2_ = nullptr;
    LineSeries* sCurrent3_ = nullptr;
    LineSeries* sCurrent5_ = nullptr;
    LineSeries* sAngle_ = nullptr;
    VerticalLine* cursor_ = nullptr;
    AxisScrollBar* axScrollBar_ = nullptr;
    TextBlock* annotation_ = nullptr;
    TextBlock* annotationCaption_ = nullptr;
    QWidget* pnlResize_ = nullptr;

    bool startResize_ = false;
    bool highlighted_ = false;
    QPoint pMouse_;
    double frequency_ = 0.0;
    AnalogChannel info_;
    std::span<const double> xMs_;
    const AnalogColumns* columns_ = nullptr;
    std::ptrdiff_t cursorPoint_ = -1;
    std::optional<HarmonicReading> cursorReading_;
    QString readout_;
    int tag_ = 0;
};

}  // namespace faultscope
