#pragma once

#include <QString>
#include <cstdint>

namespace faultscope::tools {

// Writes base.cfg/base.dat: 32 analog and 32 digital channels at 10 kHz, `samples` long, with
// 50 Hz signals, harmonics, noise and occasional state changes. For benchmarks and memory runs.
bool WriteLargeRecord(const QString& base, std::uint32_t samples);

}  // namespace faultscope::tools
