#pragma once

namespace faultscope {

// Distance from a strip's left edge to its plot: every plot of a record window starts here, in
// one column with the time line's plot. On an analog strip the caption and the readout fill the
// first 150 pixels, the value labels and the value scroll bar the rest.
inline constexpr int kStripPlotLeft = 224;

}  // namespace faultscope
