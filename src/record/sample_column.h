#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>

namespace faultscope {

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
    // The same for whole raw numbers, compared as integers with the whole numbers in the range.
    template <typename T>
    [[nodiscard]] std::size_t CountOutsideWhole(const T* raw) const noexcept {
        const double lo = std::ceil(scale_.min);
        const double hi = std::floor(scale_.max);
        constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
        constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
        // No whole number inside (bounds that are not numbers included): every sample is a gap.
        if (!(lo <= hi) || hi < kLowest || lo > kHighest) {
            return size_;
        }
        const auto first = static_cast<std::int32_t>(std::max(lo, kLowest));
        const auto last = static_cast<std::int32_t>(std::min(hi, kHighest));
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
