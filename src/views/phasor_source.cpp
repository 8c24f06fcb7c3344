#include "views/phasor_source.h"

#include "analysis/harmonics.h"
#include "record/load_error.h"
#include "views/analog_strip.h"

namespace faultscope {

std::optional<PhasorReading> PhasorAtCursor(const TAFrame1& strip) {
    const AnalogColumns* columns = strip.Columns();
    const std::ptrdiff_t point = strip.CursorPoint();
    if (columns == nullptr || point < 0 || static_cast<std::size_t>(point) >= columns->size()) {
        return std::nullopt;
    }
    const auto i = static_cast<std::size_t>(point);
    const HarmonicColumns& h = columns->harmonics;
    if (h.size() == columns->size() && h.angle.size() == columns->size()) {
        return PhasorReading{columns->Value(i), h.rms1[i], h.angle[i]};
    }
    // A channel not analysed yet is read at the cursor from the defining one-cycle sums, as its
    // readout is.
    try {
        const HarmonicSums sums = CalcHarmonicSums(strip.Times(), columns->Samples(),
                                                   strip.Frequency(), i, strip.Info().ch_id);
        return PhasorReading{columns->Value(i), ToCurrentValues(sums).Current1,
                             FundamentalAngle(sums.re[0], sums.im[0])};
    } catch (const LoadError&) {
        return std::nullopt;
    }
}

}  // namespace faultscope
