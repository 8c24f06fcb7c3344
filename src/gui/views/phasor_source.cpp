#include "gui/views/phasor_source.h"

#include "core/analysis/harmonics_at.h"
#include "gui/views/analog_strip.h"

#include <cmath>

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
    return PhasorReading{columns->Value(i), reading->rms[0], reading->angle,
                         std::isnan(reading->rms[0])};
}

}  // namespace faultscope
