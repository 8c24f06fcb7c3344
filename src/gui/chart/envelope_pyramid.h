#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <variant>
#include <vector>

#include "core/record/sample_column.h"

namespace faultscope {

// Block minima and maxima of a value column at ever coarser levels: the first level bounds
// blocks of kFirstBlock samples, each level above bounds kFanOut blocks of the one below. The
// extent of any index range is then found by reading whole blocks as high up as they fit, and
// the ragged ends sample by sample, in time that grows with the logarithm of the range, not with
// its length. Gap samples and values that are not finite are left out.
//
// The bounds are kept in the column's own numbers: two 16-bit raw numbers per block for a
// channel stored as 16-bit raw numbers, two floats for a float column, two doubles otherwise, so
// that the pyramid of a recorded channel takes about a fourteenth of a byte per sample.
class EnvelopePyramid {
  public:
    static constexpr std::size_t kFirstBlock = 32;
    static constexpr std::size_t kFanOut = 8;

    EnvelopePyramid() = default;
    // The viewed column must outlive the pyramid.
    explicit EnvelopePyramid(const SampleColumn& values);
    // The columns must outlive the pyramid; `gaps` is empty or as long as `values`.
    EnvelopePyramid(std::span<const double> values, std::span<const std::uint8_t> gaps)
        : EnvelopePyramid(SampleColumn(values, gaps)) {}

    // The pyramid of `values`, shared by every view of the same column while one of them holds
    // it. The column must outlive every holder.
    [[nodiscard]] static std::shared_ptr<const EnvelopePyramid> Shared(const SampleColumn& values);

    [[nodiscard]] std::size_t size() const noexcept { return values_.size(); }
    [[nodiscard]] bool IsDrawable(std::size_t i) const noexcept { return values_.IsDrawable(i); }
    // Extent of the drawable values at indices [first, last).
    [[nodiscard]] ValueExtent Query(std::size_t first, std::size_t last) const noexcept;
    // Bytes taken by the levels.
    [[nodiscard]] std::size_t LevelBytes() const noexcept;

  private:
    // The bounds of one block; lo > hi for a block without a drawable value.
    template <typename T>
    struct Bounds {
        T lo = std::numeric_limits<T>::has_infinity ? std::numeric_limits<T>::infinity()
                                                    : std::numeric_limits<T>::max();
        T hi = std::numeric_limits<T>::has_infinity ? -std::numeric_limits<T>::infinity()
                                                    : std::numeric_limits<T>::lowest();
        void Add(const Bounds& other) noexcept {
            lo = other.lo < lo ? other.lo : lo;
            hi = other.hi > hi ? other.hi : hi;
        }
    };
    template <typename T>
    using Levels = std::vector<std::vector<Bounds<T>>>;

    template <typename T>
    void BuildLevels(Levels<T>& levels) const;
    template <typename T>
    [[nodiscard]] std::vector<Bounds<T>> FirstLevel() const;
    template <typename T>
    [[nodiscard]] ValueExtent QueryLevels(const Levels<T>& levels, std::size_t first,
                                          std::size_t last) const noexcept;
    // The values the bounds of raw numbers or values stand for.
    template <typename T>
    [[nodiscard]] ValueExtent ToValues(const Bounds<T>& bounds) const noexcept;

    SampleColumn values_;
    std::variant<Levels<double>, Levels<float>, Levels<std::int16_t>, Levels<std::int32_t>> levels_;
};

}  // namespace faultscope
