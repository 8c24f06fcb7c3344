#pragma once

#include "core/record/record_config.h"
#include "core/record/record_data.h"
#include "gui/chart/chart.h"
#include "gui/views/strip_plot.h"

#include <QColor>
#include <QFrame>
#include <QPointF>

namespace faultscope {

class AreaSeries;
class Axis;
class HorizontalLine;
class TextBlock;
class VerticalLine;

// One discrete channel as a thin strip: a grey band where the state is 1 over the shared time
// axis, the record cursor, the channel identifier in the left margin and as the tooltip, and a
// highlight while the mouse is over it. The strip draws columns owned elsewhere.
// Formerly TDFrame1.
class DiscreteStrip : public QFrame {
    Q_OBJECT

  public:
    static constexpr int kDesignHeight = 17;
    // Where the states are drawn: state 1 at the top of the value range, state 0 far below it,
    // so that only a 1 fills the strip.
    static constexpr double kLevelOn = 1.0;
    static constexpr double kLevelOff = -5.0;

    explicit DiscreteStrip(QWidget* parent = nullptr);

    // Binds the strip to the time axis shared by all charts of the record.
    void Init(faultscope::Axis* bottomAxis);
    // Binds the strip to its channel: the caption and the tooltip name it.
    void SetInfo(const DigitalChannel& value);
    // Shows the channel's state line; the columns must stay where they are while shown. The
    // cursor starts at the trigger.
    void SetColumns(const DiscreteColumns& columns);
    // The bound samples; null before SetColumns.
    [[nodiscard]] const DiscreteColumns* Columns() const noexcept { return columns_; }

    void SetHeight(int height);
    // Draws the name in the selection colours while the strip is the one a search found.
    void SetHighlighted(bool highlighted);
    [[nodiscard]] bool Highlighted() const noexcept { return highlighted_; }
    // Position in the display order of the strip's list.
    void SetTag(int tag) noexcept { tag_ = tag; }
    [[nodiscard]] int Tag() const noexcept { return tag_; }

    [[nodiscard]] const DigitalChannel& Info() const noexcept { return digital_; }
    [[nodiscard]] Chart* Cht() const noexcept { return cht_; }
    [[nodiscard]] AreaSeries* Series() const noexcept { return series_; }
    [[nodiscard]] VerticalLine* Cursor() const noexcept { return cursor_; }
    // The line at value 0, across the middle of the strip.
    [[nodiscard]] HorizontalLine* Axis() const noexcept { return axis_; }
    [[nodiscard]] TextBlock* Annotation() const noexcept { return annotation_; }

    // Background of the chart while the mouse is over it.
    static QColor HoverColor() { return QColor(218, 237, 250); }

  signals:
    // The user clicked the strip's chart at `pos`, in the chart's pixels.
    void chtClick(faultscope::Chart* cht, QPointF pos);

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void chtResize();
    void FrameMouseEnter();
    void FrameMouseLeave();

    Chart* cht_ = nullptr;
    AreaSeries* series_ = nullptr;
    VerticalLine* cursor_ = nullptr;
    HorizontalLine* axis_ = nullptr;
    TextBlock* annotation_ = nullptr;
    DigitalChannel digital_;
    bool hovered_ = false;
    bool highlighted_ = false;
    int tag_ = 0;
    const DiscreteColumns* columns_ = nullptr;
};

}  // namespace faultscope
