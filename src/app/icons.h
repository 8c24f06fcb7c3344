#pragma once

#include <QIcon>

namespace faultscope {

// The tool bar's 24-pixel icons, drawn by the program itself. The X and Y zoom commands share
// the three zoom icons.
// The values are the commands' icon numbers.
enum class CommandIcon {
    Open,
    ZoomIn,
    ZoomOut,
    ZoomReset,
    AnalogView,
    DiscreteView,
    CustomSeries = 8,
    Print = 9,
};

QIcon MakeIcon(CommandIcon icon);

}  // namespace faultscope
