#pragma once

#include "core/record/channel_data.h"
#include "core/record/record_config.h"
#include "core/record/record_data.h"
#include "gui/views/amplitude_zoom.h"
#include "gui/views/strip_list_area.h"

#include <QString>
#include <cstddef>
#include <map>
#include <span>
#include <vector>

namespace faultscope {

class Axis;
class AnalogStrip;

// The analog strips of one record, stacked in a scrolling frame. All strips share the time axis
// and one value range, which the amplitude zoom changes together.
// Formerly TAFrameList.
class AnalogStripList : public StripListArea {
    Q_OBJECT

  public:
    // Display order by channel identifier, comparing character codes (case-sensitive).
    struct DisplayOrderLess {
        bool operator()(const AnalogStrip* left, const AnalogStrip* right) const;
    };

    explicit AnalogStripList(QWidget* parent = nullptr);

    // Creates one strip per channel, `frameHeight` pixels high, on the shared time axis; a
    // reserve channel's strip is hidden. Called once for the record's channels and again with
    // one channel for each formula channel. Every call resets the display order to creation
    // order.
    void AddCharts(std::span<const AnalogChannel> info, faultscope::Axis* bottomAxis,
                   double frequency, int frameHeight);
    // While held, AddCharts only makes strips; releasing sorts and stacks them all once, so that
    // many channels added one by one cost one layout.
    void HoldLayout(bool hold);
    // Binds strip i of the last AddCharts call to columns[i]; the counts must agree
    // (std::invalid_argument otherwise). The columns must stay where they are while shown.
    void SetColumns(std::span<const double> xMs, std::span<const AnalogColumns> columns);
    // Sets the common value ranges from the bound samples of every strip, hidden ones too: one
    // for all strips, and one per unit for the scale by units.
    void AfterAllDataLoad();

    // True (the default): all strips share one value range. False: the strips of one unit
    // ("A", "kV") share one range of their own. Either way the zoom commands act on all strips.
    void SetCommonScale(bool common);
    // The value range that `strip` shows and zooms with.
    [[nodiscard]] const AmplitudeZoom& ZoomOf(const AnalogStrip* strip) const;

    // Puts the cursor of every strip on sample `point`.
    void SetCursor(std::ptrdiff_t point);
    // Sets the value axis of every strip.
    void SetYMinMaxCht(double min, double max);
    // Sets the value axis of `strip` from its range.
    void ApplyZoom(AnalogStrip& strip);
    void YZoomIn();
    void YZoomOut();
    void YZoomReset();
    // Zooms the values of `strip` alone `steps` times as YZoomIn does (out as YZoomOut when
    // negative), from the range it shows, never out past its full range. The strip keeps that
    // range until a command zooms all strips.
    void YZoomStrip(AnalogStrip& strip, int steps);
    [[nodiscard]] const AmplitudeZoom& Zoom() const noexcept { return zoom_; }

    // All strips in creation order.
    [[nodiscard]] const std::vector<AnalogStrip*>& ChtList() const noexcept { return chtList_; }
    // All strips in display order, hidden ones included.
    [[nodiscard]] const std::vector<AnalogStrip*>& DisplayList() const noexcept {
        return displayList_;
    }
    [[nodiscard]] AnalogStrip* FindStrip(const QString& name) const;
    void SortDisplayList();
    void SortDisplayListDefault();
    // Writes each strip's position in the display order into its tag.
    void AfterSort();
    // Lays the strips out in display order; hidden ones take no room.
    void RestackStrips();

  private:
    [[nodiscard]] QString UniqueStripName(const AnalogChannel& info) const;
    // Sets every strip's value axis from its range.
    void ApplyZooms();
    template <typename Step>
    void ZoomAll(Step step);

    std::vector<AnalogStrip*> chtList_;
    std::vector<AnalogStrip*> displayList_;
    std::size_t lastBatch_ = 0;  // strips made by the last AddCharts, at the end of chtList_
    AmplitudeZoom zoom_;
    std::map<QString, AmplitudeZoom> unitZooms_;  // by trimmed unit
    bool commonScale_ = true;
    bool layoutHeld_ = false;
};

}  // namespace faultscope
