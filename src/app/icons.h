#pragma once

#include <QIcon>

namespace faultscope {

// The tool bar's 24-pixel icons, drawn by the program itself. The X and Y zoom commands share
// the three zoom icons.
enum class CommandIcon { Open, ZoomIn, ZoomOut, ZoomReset, AnalogView, DiscreteView };

QIcon MakeIcon(CommandIcon icon);

}  // namespace faultscope
