#pragma once

#include <array>
#include <cstddef>
#include <ostream>

#include "core/session/record_session.h"

namespace faultscope::cli {

// `sequence`: the symmetrical components of the channels of phases A, B and C at every sample,
// as CSV `sample,time_ms,i1,a1,i2,a2,i0,a0` (RMS in the channels' unit, I0 itself; angles on the
// reference of `phasors`). Where a phase's window holds a gap the magnitudes are empty and the
// angles 65535. Throws UsageError when the channels' units differ.
void PrintSequence(const LoadedRecord& record, const std::array<std::size_t, 3>& channels,
                   std::ostream& out);

}  // namespace faultscope::cli
