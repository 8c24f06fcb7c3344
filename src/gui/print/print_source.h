#pragma once

#include <QRect>
#include <QString>
#include <vector>

#include "core/layout/page_layout.h"

namespace faultscope {

class Chart;
class RecordDocument;

// The charts of one record in the order they are printed: the time label strips, the shown
// analog and discrete strips in display order, and the time line's axis chart. Strips the user
// hid are left out.
struct PrintSource {
    QString stationName;
    QString deviceName;
    std::vector<Chart*> labels;
    std::vector<Chart*> analog;
    std::vector<Chart*> discrete;
    Chart* timeAxis = nullptr;
    // "Tмакс = …", which the window shows in the time line's overview below the axis chart:
    // printed on a line of its own under the axis.
    QString maxTimeText;
};

// The height, in the axis chart's pixels, of the line under the printed time axis.
inline constexpr int kTimeFooterHeight = 18;

// The charts of a loaded document; empty lists before its views are built.
[[nodiscard]] PrintSource PrintSourceOf(const RecordDocument& document);

// The layout's numbers for `source` on a page whose printable part is `printable`: on-screen
// heights, and the width of the first analog chart (of the first discrete one when no analog
// strip is shown) as the width that fills the page.
[[nodiscard]] PageLayoutInput LayoutInputFor(const PrintSource& source, const QRect& printable,
                                             int captionLineHeight);

}  // namespace faultscope
