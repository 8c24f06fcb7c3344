#include "gui/chart/envelope_pyramid.h"

#include <algorithm>

namespace faultscope {
namespace {

void AddBlocks(ValueExtent& extent, const std::vector<ValueExtent>& blocks, std::size_t first,
               std::size_t last) noexcept {
    for (std::size_t b = first; b < last; ++b) {
        extent.Add(blocks[b]);
    }
}

}  // namespace

EnvelopePyramid::EnvelopePyramid(const SampleColumn& values)
    : values_(values), allDrawable_(values.AllDrawable()) {
    BuildLevels();
}

void EnvelopePyramid::BuildLevels() {
    std::size_t units = values_.size();
    while (units > 1) {
        const std::size_t blocks = (units + kFanOut - 1) / kFanOut;
        std::vector<ValueExtent> extents(blocks);
        if (levels_.empty()) {
            values_.BlockExtents(0, kFanOut, extents);
        } else {
            for (std::size_t b = 0; b < blocks; ++b) {
                const std::size_t first = b * kFanOut;
                AddBlocks(extents[b], levels_.back(), first, std::min(units, first + kFanOut));
            }
        }
        levels_.push_back(std::move(extents));
        units = blocks;
    }
}

void EnvelopePyramid::AddSamples(ValueExtent& extent, std::size_t first,
                                 std::size_t last) const noexcept {
    if (allDrawable_) {
        for (std::size_t i = first; i < last; ++i) {
            extent.Add(values_[i]);
        }
        return;
    }
    for (std::size_t i = first; i < last; ++i) {
        if (IsDrawable(i)) {
            extent.Add(values_[i]);
        }
    }
}

ValueExtent EnvelopePyramid::Query(std::size_t first, std::size_t last) const noexcept {
    last = std::min(last, values_.size());
    ValueExtent extent;
    if (first >= last) {
        return extent;
    }
    // Climb while a whole block of the next level fits, taking the ragged ends on the way.
    std::size_t upperFirst = (first + kFanOut - 1) / kFanOut;
    std::size_t upperLast = last / kFanOut;
    if (levels_.empty() || upperFirst >= upperLast) {
        AddSamples(extent, first, last);
        return extent;
    }
    AddSamples(extent, first, upperFirst * kFanOut);
    AddSamples(extent, upperLast * kFanOut, last);
    for (std::size_t level = 0;; ++level) {
        const std::vector<ValueExtent>& blocks = levels_[level];
        first = upperFirst;
        last = upperLast;
        upperFirst = (first + kFanOut - 1) / kFanOut;
        upperLast = last / kFanOut;
        if (level + 1 >= levels_.size() || upperFirst >= upperLast) {
            AddBlocks(extent, blocks, first, last);
            return extent;
        }
        AddBlocks(extent, blocks, first, upperFirst * kFanOut);
        AddBlocks(extent, blocks, upperLast * kFanOut, last);
    }
}

}  // namespace faultscope
