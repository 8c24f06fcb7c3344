#pragma once

class QScrollArea;
class QWidget;

namespace faultscope {

inline constexpr int kScrollBarWidth = 16;

// Keeps the right ends of all plot areas of a record window in one column: a scrolling strip
// list whose vertical scroll bar shows takes a 16-pixel bar and its parent no right padding;
// without the bar the parent pads 16 pixels on the right instead. Call on every resize.
void SetScrollPadding(QScrollArea& list, QWidget& parent);

}  // namespace faultscope
