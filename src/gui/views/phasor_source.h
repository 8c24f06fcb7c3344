#pragma once

#include <optional>

namespace faultscope {

class AnalogStrip;

// What the vector diagram reads of an analog strip at its cursor sample.
struct PhasorReading {
    double value = 0.0;  // the instantaneous value
    double rms1 = 0.0;   // RMS of the fundamental
    double angle = 0.0;  // degrees, 65535 when undefined
    // The one-cycle window holds a sample outside the channel's range: there is no phasor.
    bool overGap = false;
};

// The reading at the strip's cursor; nothing before the cursor is set or without harmonics.
[[nodiscard]] std::optional<PhasorReading> PhasorAtCursor(const AnalogStrip& strip);

}  // namespace faultscope
