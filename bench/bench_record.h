#pragma once

#include <QString>
#include <cstdint>

namespace faultscope::bench {

// Base path (without extension) of the large synthetic record of `samples` samples, written
// once per run into a temporary folder.
QString LargeRecordBase(std::uint32_t samples);

// Base path of a record laid out like a line relay's, 40 analog and 300 discrete channels at
// 10 kHz, `samples` long, of which the discrete channels kWideChanging change; written once per
// run.
QString WideRecordBase(std::uint32_t samples);
inline constexpr int kWideAnalog = 40;

// Base path of a line's record, UA, UB, UC in kV and IA, IB, IC in kA at 2 kHz on a 50 Hz line:
// a load that becomes a fault of phase A halfway through its `samples`; written once per run.
QString LineRecordBase(std::uint32_t samples);
inline constexpr int kWideDigital = 300;

}  // namespace faultscope::bench
