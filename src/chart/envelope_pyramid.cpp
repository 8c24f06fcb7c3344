#include "chart/envelope_pyramid.h"

#include <algorithm>

namespace faultscope {

EnvelopePyramid::EnvelopePyramid(std::span<const double> values, std::span<const std::uint8_t> gaps)
    : values_(values), gaps_(gaps) {
    BuildLevels();
}

void EnvelopePyramid::BuildLevels() {
    std::size_t units = values_.size();
    std::size_t level = 0;
    while (units > 1) {
        const std::size_t blocks = (units + kFanOut - 1) / kFanOut;
        std::vector<ValueExtent> extents(blocks);
        for (std::size_t b = 0; b < blocks; ++b) {
            extents[b] = Scan(level, b * kFanOut, std::min(units, (b + 1) * kFanOut));
        }
        levels_.push_back(std::move(extents));
        units = blocks;
        ++level;
    }
}

ValueExtent EnvelopePyramid::Scan(std::size_t level, std::size_t first,
                                  std::size_t last) const noexcept {
    ValueExtent extent;
    if (level == 0) {
        for (std::size_t i = first; i < last; ++i) {
            if (IsDrawable(i)) {
                extent.Add(values_[i]);
            }
        }
    } else {
        const std::vector<ValueExtent>& blocks = levels_[level - 1];
        for (std::size_t b = first; b < last; ++b) {
            extent.Add(blocks[b]);
        }
    }
    return extent;
}

ValueExtent EnvelopePyramid::Query(std::size_t first, std::size_t last) const noexcept {
    last = std::min(last, values_.size());
    ValueExtent extent;
    if (first >= last) {
        return extent;
    }
    // Climb while a whole block of the next level fits, taking the ragged ends on the way.
    std::size_t level = 0;
    while (level < levels_.size()) {
        const std::size_t upperFirst = (first + kFanOut - 1) / kFanOut;
        const std::size_t upperLast = last / kFanOut;
        if (upperFirst >= upperLast) {
            break;
        }
        extent.Add(Scan(level, first, upperFirst * kFanOut));
        extent.Add(Scan(level, upperLast * kFanOut, last));
        first = upperFirst;
        last = upperLast;
        ++level;
    }
    extent.Add(Scan(level, first, last));
    return extent;
}

}  // namespace faultscope
