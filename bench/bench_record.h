#pragma once

#include <QString>
#include <cstdint>

namespace faultscope::bench {

// Base path (without extension) of the large synthetic record of `samples` samples, written
// once per run into a temporary folder.
QString LargeRecordBase(std::uint32_t samples);

}  // namespace faultscope::bench
