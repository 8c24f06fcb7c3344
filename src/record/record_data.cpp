#include "record/record_data.h"

namespace faultscope {

void HarmonicColumns::Clear() noexcept {
    rms1.clear();
    rms2.clear();
    rms3.clear();
    rms5.clear();
    angle.clear();
}

void HarmonicColumns::Reserve(std::size_t n) {
    rms1.reserve(n);
    rms2.reserve(n);
    rms3.reserve(n);
    rms5.reserve(n);
    angle.reserve(n);
}

}  // namespace faultscope
