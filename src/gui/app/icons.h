#pragma once

#include <QIcon>

namespace faultscope {

// The tool bar's 24-pixel icons, drawn by the program itself. The X and Y zoom commands share
// the three zoom icons.
// The values are the commands' icon numbers.
enum class CommandIcon {
    Open = 0,
    ZoomIn = 1,
    ZoomOut = 2,
    ZoomReset = 3,
    AnalogView = 4,
    DiscreteView = 5,
    ChannelView = 6,
    PhasorDiagramPanel = 7,
    CustomSeries = 8,
    Print = 9,
    TimeLabel = 10,
    Events = 11,
    Back = 12,
};

QIcon MakeIcon(CommandIcon icon);

}  // namespace faultscope
