#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "core/record/sample_column.h"

namespace faultscope {

// Block minima and maxima of a value column at ever coarser levels (each block of a level
// covers kFanOut blocks of the level below), built once. The extent of any index range is then
// found by reading whole blocks as high up as they fit, in time that grows with the logarithm
// of the range, not with its length. Gap samples and values that are not finite are left out.
class EnvelopePyramid {
  public:
    static constexpr std::size_t kFanOut = 8;

    EnvelopePyramid() = default;
    // The viewed column must outlive the pyramid.
    explicit EnvelopePyramid(const SampleColumn& values);
    // The columns must outlive the pyramid; `gaps` is empty or as long as `values`.
    EnvelopePyramid(std::span<const double> values, std::span<const std::uint8_t> gaps)
        : EnvelopePyramid(SampleColumn(values, gaps)) {}

    [[nodiscard]] std::size_t size() const noexcept { return values_.size(); }
    [[nodiscard]] bool IsDrawable(std::size_t i) const noexcept { return values_.IsDrawable(i); }
    // Extent of the drawable values at indices [first, last).
    [[nodiscard]] ValueExtent Query(std::size_t first, std::size_t last) const noexcept;

  private:
    void BuildLevels();
    // Widens `extent` by the drawable samples at [first, last).
    void AddSamples(ValueExtent& extent, std::size_t first, std::size_t last) const noexcept;

    SampleColumn values_;
    bool allDrawable_ = true;  // no gap and no value that is not finite
    std::vector<std::vector<ValueExtent>> levels_;
};

}  // namespace faultscope
