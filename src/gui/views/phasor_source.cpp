#include "gui/views/phasor_source.h"

#include "core/analysis/harmonics_at.h"
#include "gui/views/analog_strip.h"

#include <cmath>
#include <limits>

namespace faultscope {

std::optional<PhasorReading> PhasorAtCursor(const AnalogStrip& strip) {
    const AnalogColumns* columns = strip.Columns();
    const std::ptrdiff_t point = strip.CursorPoint();
    if (columns == nullptr || point < 0 || static_cast<std::size_t>(point) >= columns->size()) {
        return std::nullopt;
    }
    // The one-cycle sums in double at the cursor, as the strip's readout took them when the
    // cursor was placed.
    const auto i = static_cast<std::size_t>(point);
    const std::optional<HarmonicReading> reading =
        strip.CursorReading()
            ? strip.CursorReading()
            : ReadHarmonicsAt(strip.Times(), *columns, strip.Frequency(), i, strip.Info().ch_id);
    if (!reading) {
        return std::nullopt;
    }
    // A formula channel of moduli (its value formula reads RMS and angles, not instantaneous
    // values, and an angle formula gives its angle: a sequence component, an RMS turned) is a
    // phasor of that angle whose length is its value, not a waveform of its own.
    if (columns->valueIsModulus) {
        const bool gap = columns->Gap(i);
        const double value = columns->Value(i);
        return PhasorReading{value, gap ? std::numeric_limits<double>::quiet_NaN() : value,
                             reading->angle, gap || reading->angle == kUndefinedAngle};
    }
    return PhasorReading{columns->Value(i), reading->rms[0], reading->angle,
                         std::isnan(reading->rms[0])};
}

}  // namespace faultscope
