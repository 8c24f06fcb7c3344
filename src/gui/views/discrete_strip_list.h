#pragma once

#include "core/record/record_config.h"
#include "core/record/record_data.h"
#include "gui/views/strip_list_area.h"

#include <span>
#include <vector>

namespace faultscope {

class Axis;
class DiscreteStrip;

// The discrete strips of one record, stacked in a scrolling frame on the shared time axis.
// Formerly TDFrameList.
class DiscreteStripList : public StripListArea {
    Q_OBJECT

  public:
    // Display order by channel identifier, comparing character codes (case-sensitive).
    struct DisplayOrderLess {
        bool operator()(const DiscreteStrip* left, const DiscreteStrip* right) const;
    };

    explicit DiscreteStripList(QWidget* parent = nullptr);

    // Builds the strips anew, one per channel, `frameHeight` pixels high; a channel whose
    // trimmed identifier is in square brackets gets none and leaves an empty entry in ChtList.
    void AddCharts(std::span<const DigitalChannel> info, faultscope::Axis* bottomAxis,
                   int frameHeight);
    // Binds entry i of ChtList to columns[i]; the counts must agree (std::invalid_argument
    // otherwise). The columns must stay where they are while shown.
    void SetColumns(std::span<const DiscreteColumns> columns);
    // Puts the cursor of every strip at time `x`, in milliseconds.
    void SetCursorTime(double x);

    // One entry per channel in channel order; nullptr for a channel without a strip.
    [[nodiscard]] const std::vector<DiscreteStrip*>& ChtList() const noexcept { return chtList_; }
    // All strips in display order, hidden ones included; never nullptr.
    [[nodiscard]] const std::vector<DiscreteStrip*>& DisplayList() const noexcept {
        return displayList_;
    }
    void SortDisplayList();
    void SortDisplayListDefault();
    // Writes each strip's position in the display order into its tag.
    void AfterSort();
    // Lays the strips out in display order; hidden ones take no room.
    void RestackStrips();

  private:
    void RemoveStrips();

    std::vector<DiscreteStrip*> chtList_;
    std::vector<DiscreteStrip*> displayList_;
};

}  // namespace faultscope
