#pragma once

#include <array>
#include <cstddef>

namespace faultscope {

// The harmonic orders the analysis gives, in the order every column, readout, command and
// printed table lists them.
inline constexpr std::array<int, 4> kHarmonicOrders = {1, 2, 3, 5};

// Position of `order` in kHarmonicOrders, or kHarmonicOrders.size() when it is not analysed.
[[nodiscard]] constexpr std::size_t HarmonicIndex(int order) noexcept {
    std::size_t k = 0;
    while (k < kHarmonicOrders.size() && kHarmonicOrders[k] != order) {
        ++k;
    }
    return k;
}

}  // namespace faultscope
