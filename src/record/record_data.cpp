#include "record/record_data.h"

#include <iterator>

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

const std::vector<double>& HarmonicColumns::Rms(std::size_t k) const noexcept {
    const std::vector<double>* columns[] = {&rms1, &rms2, &rms3, &rms5};
    static_assert(std::size(columns) == kHarmonicOrders.size());
    return *columns[k];
}

}  // namespace faultscope
