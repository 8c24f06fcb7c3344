#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>

namespace faultscope {

// Smallest and largest value of a set; empty while nothing was added.
struct ValueExtent {
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();

    [[nodiscard]] bool IsEmpty() const noexcept { return min > max; }
    void Add(double value) noexcept {
        min = value < min ? value : min;
        max = value > max ? value : max;
    }
    void Add(const ValueExtent& other) noexcept {
        min = other.min < min ? other.min : min;
        max = other.max > max ? other.max : max;
    }
};

// How raw numbers of a channel become values: a·raw + b inside [min, max]; outside it the sample
// is a gap and keeps its raw number.
struct RawScale {
    double a = 1.0;
    double b = 0.0;
    double min = 0.0;
    double max = 0.0;

    [[nodiscard]] bool Inside(double raw) const noexcept { return min <= raw && raw <= max; }
    [[nodiscard]] double Value(double raw) const noexcept {
        return Inside(raw) ? a * raw + b : raw;
    }
};

// A read-only view of one column of sample values, whatever form they are kept in: plain doubles
// (with or without gap flags), 32-bit floats, or the raw numbers of a file (16-bit, 32-bit or
// double) with their RawScale. Views and analyses read samples through it, so the storage can
// stay as small as the numbers allow. The viewed storage must outlive the view.
class SampleColumn {
  public:
    enum class Kind : std::uint8_t { Double, Float, Raw16, Raw32, RawDouble };

    SampleColumn() = default;
    SampleColumn(std::span<const double> values, std::span<const std::uint8_t> gaps = {}) noexcept
        : kind_(Kind::Double), data_(values.data()), size_(values.size()), gaps_(gaps) {}
    explicit SampleColumn(std::span<const float> values) noexcept
        : kind_(Kind::Float), data_(values.data()), size_(values.size()) {}
    SampleColumn(std::span<const std::int16_t> raw, const RawScale& scale) noexcept
        : kind_(Kind::Raw16), data_(raw.data()), size_(raw.size()), scale_(scale) {}
    SampleColumn(std::span<const std::int32_t> raw, const RawScale& scale) noexcept
        : kind_(Kind::Raw32), data_(raw.data()), size_(raw.size()), scale_(scale) {}
    SampleColumn(std::span<const double> raw, const RawScale& scale) noexcept
        : kind_(Kind::RawDouble), data_(raw.data()), size_(raw.size()), scale_(scale) {}

    [[nodiscard]] std::size_t size() const noexcept { return size_; }
    [[nodiscard]] bool empty() const noexcept { return size_ == 0; }
    [[nodiscard]] Kind kind() const noexcept { return kind_; }

    // The value of sample i, computed in double exactly as it was when the sample was read.
    [[nodiscard]] double operator[](std::size_t i) const noexcept {
        switch (kind_) {
            case Kind::Double:
                return static_cast<const double*>(data_)[i];
            case Kind::Float:
                return static_cast<const float*>(data_)[i];
            case Kind::Raw16:
                return scale_.Value(static_cast<const std::int16_t*>(data_)[i]);
            case Kind::Raw32:
                return scale_.Value(static_cast<const std::int32_t*>(data_)[i]);
            case Kind::RawDouble:
                return scale_.Value(static_cast<const double*>(data_)[i]);
        }
        return 0.0;
    }

    // Whether sample i is a gap: flagged so, or a raw number outside the channel's range.
    [[nodiscard]] bool IsGap(std::size_t i) const noexcept {
        switch (kind_) {
            case Kind::Double:
                return !gaps_.empty() && gaps_[i] != 0;
            case Kind::Float:
                return false;
            case Kind::Raw16:
                return !scale_.Inside(static_cast<const std::int16_t*>(data_)[i]);
            case Kind::Raw32:
                return !scale_.Inside(static_cast<const std::int32_t*>(data_)[i]);
            case Kind::RawDouble:
                return !scale_.Inside(static_cast<const double*>(data_)[i]);
        }
        return false;
    }

    // Drawn unless a gap or not finite.
    [[nodiscard]] bool IsDrawable(std::size_t i) const noexcept {
        return !IsGap(i) && std::isfinite((*this)[i]);
    }

    // Whether no sample can be a gap, so that readers may skip the test.
    [[nodiscard]] bool HasNoGapFlags() const noexcept {
        return (kind_ == Kind::Double && gaps_.empty()) || kind_ == Kind::Float;
    }

    // How many samples are gaps.
    [[nodiscard]] std::size_t CountGaps() const noexcept {
        switch (kind_) {
            case Kind::Double:
                return CountFlags();
            case Kind::Float:
                return 0;
            case Kind::Raw16:
                return CountOutsideWhole(static_cast<const std::int16_t*>(data_));
            case Kind::Raw32:
                return CountOutsideWhole(static_cast<const std::int32_t*>(data_));
            case Kind::RawDouble:
                return CountOutside(static_cast<const double*>(data_));
        }
        return 0;
    }

    // Whether every sample is drawn: no gap and no value that is not finite.
    [[nodiscard]] bool AllDrawable() const noexcept {
        switch (kind_) {
            case Kind::Raw16:
                return WholeAllDrawable(static_cast<const std::int16_t*>(data_));
            case Kind::Raw32:
                return WholeAllDrawable(static_cast<const std::int32_t*>(data_));
            default:
                for (std::size_t i = 0; i < size_; ++i) {
                    if (!IsDrawable(i)) {
                        return false;
                    }
                }
                return true;
        }
    }

    // The extents of the drawn values of consecutive blocks of `block` samples from sample
    // `first` on, one block for each element of `out`; the last block may be short.
    void BlockExtents(std::size_t first, std::size_t block,
                      std::span<ValueExtent> out) const noexcept {
        switch (kind_) {
            case Kind::Raw16:
                return WholeBlockExtents(static_cast<const std::int16_t*>(data_), first, block,
                                         out);
            case Kind::Raw32:
                return WholeBlockExtents(static_cast<const std::int32_t*>(data_), first, block,
                                         out);
            default:
                for (ValueExtent& extent : out) {
                    extent = {};
                    AddDrawable(extent, first, std::min(size_, first + block));
                    first += block;
                }
        }
    }

    // The extent of the drawn values of samples [first, last).
    [[nodiscard]] ValueExtent Extent(std::size_t first, std::size_t last) const noexcept {
        ValueExtent extent;
        if (first < last) {
            BlockExtents(first, last - first, {&extent, 1});
        }
        return extent;
    }

    // Whether the values are whole raw numbers of a file (16 or 32 bits) with a scale whose
    // every value of the storage type is finite, so that blocks can be bounded by raw numbers.
    [[nodiscard]] bool HasWholeRawValues() const noexcept {
        if (kind_ != Kind::Raw16 && kind_ != Kind::Raw32) {
            return false;
        }
        const double low = kind_ == Kind::Raw16 ? std::numeric_limits<std::int16_t>::min()
                                                : std::numeric_limits<std::int32_t>::min();
        const double high = kind_ == Kind::Raw16 ? std::numeric_limits<std::int16_t>::max()
                                                 : std::numeric_limits<std::int32_t>::max();
        return std::isfinite(scale_.a * low + scale_.b) &&
               std::isfinite(scale_.a * high + scale_.b);
    }
    // For whole raw values: the smallest and largest raw number inside the channel's range in
    // consecutive blocks of `block` samples from sample `first` on, one block for each element of
    // `lo` and `hi` (as long as each other); lo > hi for a block without one.
    void WholeBlockBounds(std::size_t first, std::size_t block, std::span<std::int32_t> lo,
                          std::span<std::int32_t> hi) const noexcept {
        const WholeBounds inside = InsideWhole();
        for (std::size_t b = 0; b < lo.size(); ++b, first += block) {
            const std::size_t end = std::min(size_, first + block);
            if (kind_ == Kind::Raw16) {
                WholeMinMax(static_cast<const std::int16_t*>(data_), first, end, inside, lo[b],
                            hi[b]);
            } else {
                WholeMinMax(static_cast<const std::int32_t*>(data_), first, end, inside, lo[b],
                            hi[b]);
            }
        }
    }
    // The value of a raw number of this column's scale (no range test).
    [[nodiscard]] double ScaledValue(double raw) const noexcept {
        return scale_.a * raw + scale_.b;
    }
    [[nodiscard]] bool ScaleDescends() const noexcept { return scale_.a < 0.0; }
    // The viewed storage, for keying what is derived from it.
    [[nodiscard]] const void* Storage() const noexcept { return data_; }
    [[nodiscard]] const std::uint8_t* GapStorage() const noexcept { return gaps_.data(); }

    // Values of samples first … first + out.size() - 1 into `out`.
    void Read(std::size_t first, std::span<double> out) const noexcept {
        switch (kind_) {
            case Kind::Double:
                return Copy(static_cast<const double*>(data_) + first, out);
            case Kind::Float:
                return Copy(static_cast<const float*>(data_) + first, out);
            case Kind::Raw16:
                return ReadRaw(static_cast<const std::int16_t*>(data_) + first, out);
            case Kind::Raw32:
                return ReadRaw(static_cast<const std::int32_t*>(data_) + first, out);
            case Kind::RawDouble:
                return ReadRaw(static_cast<const double*>(data_) + first, out);
        }
    }

  private:
    [[nodiscard]] std::size_t CountFlags() const noexcept {
        std::size_t gaps = 0;
        for (std::size_t i = 0; i < size_ && i < gaps_.size(); ++i) {
            gaps += gaps_[i] != 0 ? 1 : 0;
        }
        return gaps;
    }
    template <typename T>
    [[nodiscard]] std::size_t CountOutside(const T* raw) const noexcept {
        std::size_t gaps = 0;
        const double lo = scale_.min;
        const double hi = scale_.max;
        // Without a branch, so that the loop runs on vectors; the same test as RawScale::Inside.
        for (std::size_t i = 0; i < size_; ++i) {
            const auto v = static_cast<double>(raw[i]);
            gaps += static_cast<std::size_t>(!(lo <= v) | !(v <= hi));
        }
        return gaps;
    }
    // The whole numbers inside the channel's range, as 32-bit bounds; empty (first > last) when
    // there is none, bounds that are not numbers included.
    struct WholeBounds {
        std::int32_t first = 1;
        std::int32_t last = 0;
    };
    [[nodiscard]] WholeBounds InsideWhole() const noexcept {
        const double lo = std::ceil(scale_.min);
        const double hi = std::floor(scale_.max);
        constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
        constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
        if (!(lo <= hi) || hi < kLowest || lo > kHighest) {
            return {};
        }
        return {static_cast<std::int32_t>(std::max(lo, kLowest)),
                static_cast<std::int32_t>(std::min(hi, kHighest))};
    }
    // The smallest and largest raw number among samples [begin, end), gaps included, on vectors;
    // lo > hi when there is none.
    template <typename T>
    static void RawMinMax(const T* raw, std::size_t begin, std::size_t end, std::int32_t& lo,
                          std::int32_t& hi) noexcept {
        T low = std::numeric_limits<T>::max();
        T high = std::numeric_limits<T>::lowest();
        for (std::size_t i = begin; i < end; ++i) {
            low = std::min(low, raw[i]);
            high = std::max(high, raw[i]);
        }
        lo = begin < end ? low : 1;
        hi = begin < end ? high : 0;
    }
    // The smallest and largest raw number inside the range among samples [begin, end); lo > hi
    // when there is none.
    template <typename T>
    static void WholeMinMax(const T* raw, std::size_t begin, std::size_t end, WholeBounds inside,
                            std::int32_t& lo, std::int32_t& hi) noexcept {
        // Every sample first: gaps are rare, and without one that is the answer.
        RawMinMax(raw, begin, end, lo, hi);
        if (lo > hi || (lo >= inside.first && hi <= inside.last)) {
            return;
        }
        lo = std::numeric_limits<std::int32_t>::max();
        hi = std::numeric_limits<std::int32_t>::min();
        for (std::size_t i = begin; i < end; ++i) {
            const std::int32_t v = raw[i];
            if (v >= inside.first && v <= inside.last) {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        }
    }
    // a·raw + b never decreases or never increases as raw grows (both operations round
    // monotonically), so the values of the smallest and the largest raw number bound all the
    // others; when both are finite, so is every value between them.
    template <typename T>
    void WholeBlockExtents(const T* raw, std::size_t first, std::size_t block,
                           std::span<ValueExtent> out) const noexcept {
        const WholeBounds inside = InsideWhole();
        for (ValueExtent& extent : out) {
            extent = {};
            const std::size_t end = std::min(size_, first + block);
            std::int32_t lo = 0;
            std::int32_t hi = 0;
            WholeMinMax(raw, first, end, inside, lo, hi);
            if (lo <= hi) {
                const double low = scale_.a * static_cast<double>(lo) + scale_.b;
                const double high = scale_.a * static_cast<double>(hi) + scale_.b;
                if (std::isfinite(low) && std::isfinite(high)) {
                    extent.Add(low);
                    extent.Add(high);
                } else {
                    AddDrawable(extent, first, end);
                }
            }
            first += block;
        }
    }
    // No gap when every raw number lies inside the range, and then every value is finite when
    // the two ends are.
    template <typename T>
    [[nodiscard]] bool WholeAllDrawable(const T* raw) const noexcept {
        std::int32_t lo = 0;
        std::int32_t hi = 0;
        RawMinMax(raw, 0, size_, lo, hi);
        if (lo > hi) {
            return true;
        }
        const WholeBounds inside = InsideWhole();
        return lo >= inside.first && hi <= inside.last &&
               std::isfinite(scale_.a * static_cast<double>(lo) + scale_.b) &&
               std::isfinite(scale_.a * static_cast<double>(hi) + scale_.b);
    }
    void AddDrawable(ValueExtent& extent, std::size_t first, std::size_t last) const noexcept {
        for (std::size_t i = first; i < last; ++i) {
            if (IsDrawable(i)) {
                extent.Add((*this)[i]);
            }
        }
    }
    // The same for whole raw numbers, compared as integers with the whole numbers in the range.
    template <typename T>
    [[nodiscard]] std::size_t CountOutsideWhole(const T* raw) const noexcept {
        const WholeBounds inside = InsideWhole();
        // No whole number inside: every sample is a gap.
        if (inside.first > inside.last) {
            return size_;
        }
        const std::int32_t first = inside.first;
        const std::int32_t last = inside.last;
        // Counted in 32-bit lanes, a block at a time, so that no lane can overflow.
        constexpr std::size_t kBlock = std::size_t{1} << 20;
        std::size_t gaps = 0;
        for (std::size_t begin = 0; begin < size_; begin += kBlock) {
            const std::size_t end = std::min(size_, begin + kBlock);
            std::uint32_t blockGaps = 0;
            for (std::size_t i = begin; i < end; ++i) {
                const std::int32_t v = raw[i];
                blockGaps += static_cast<std::uint32_t>((v < first) | (v > last));
            }
            gaps += blockGaps;
        }
        return gaps;
    }
    template <typename T>
    static void Copy(const T* values, std::span<double> out) noexcept {
        for (std::size_t i = 0; i < out.size(); ++i) {
            out[i] = values[i];
        }
    }
    template <typename T>
    void ReadRaw(const T* raw, std::span<double> out) const noexcept {
        const RawScale scale = scale_;
        for (std::size_t i = 0; i < out.size(); ++i) {
            out[i] = scale.Value(static_cast<double>(raw[i]));
        }
    }

    Kind kind_ = Kind::Double;
    const void* data_ = nullptr;
    std::size_t size_ = 0;
    std::span<const std::uint8_t> gaps_;
    RawScale scale_;
};

}  // namespace faultscope
