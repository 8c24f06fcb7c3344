#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "core/record/harmonic_orders.h"
#include "core/record/sample_column.h"

namespace faultscope {

// Per-sample results of the harmonic analysis of one analog channel, kept for drawing the
// harmonic curves: RMS of harmonics 1, 2, 3 and 5 and the angle of the fundamental in degrees
// (65535 where it is undefined), each rounded once to the nearest float from the analysis in
// double. Numbers the user reads are never taken from here: they are computed in double at their
// sample (see FundamentalColumns for the series formulas read).
struct HarmonicColumns {
    std::vector<float> rms1;
    std::vector<float> rms2;
    std::vector<float> rms3;
    std::vector<float> rms5;
    std::vector<float> angle;

    void Clear() noexcept;
    void Reserve(std::size_t n);
    [[nodiscard]] std::size_t size() const noexcept { return rms1.size(); }
    // The RMS column of harmonic kHarmonicOrders[k].
    [[nodiscard]] const std::vector<float>& Rms(std::size_t k) const noexcept;
};

// The fundamental of one analog channel per sample in double, exactly as the analysis gives it:
// the series that formulas read (Dn, ANGLEn). Filled only for channels a formula reads.
struct FundamentalColumns {
    std::vector<double> rms;
    std::vector<double> angle;

    void Clear() noexcept {
        rms.clear();
        angle.clear();
    }
    [[nodiscard]] std::size_t size() const noexcept { return rms.size(); }
};

inline constexpr double kUndefinedAngle = 65535.0;

// The samples of one analog channel, kept in the smallest form that holds them exactly. A channel
// read from a file keeps the file's raw numbers (16-bit integers where the channel's min/max and
// every sample fit, else 32-bit, else doubles) with its RawScale; a sample outside the channel's
// raw range is a gap, whose value is its raw number, unscaled. A computed channel keeps values
// and gap flags as given. Either way a value is read in double, exactly as it was computed when
// the sample was read.
class AnalogColumns {
  public:
    // An empty computed channel; SetRawScale makes it a channel of raw numbers.
    AnalogColumns() = default;
    // A computed channel of these values and gap flags (`gaps` empty: none).
    static AnalogColumns FromValues(std::span<const double> values,
                                    std::span<const std::uint8_t> gaps = {});

    // Starts a channel of raw numbers with this scale; drops any samples.
    void SetRawScale(const RawScale& scale);
    void Reserve(std::size_t samples);
    // Appends a raw number of the file (raw channels only).
    void AppendRaw(double raw);
    // The same for a whole number, without a call where it fits the storage as it is.
    void AppendWhole(std::int64_t raw) {
        if (storage_ == Storage::Raw16 && raw >= std::numeric_limits<std::int16_t>::min() &&
            raw <= std::numeric_limits<std::int16_t>::max()) {
            raw16_.push_back(static_cast<std::int16_t>(raw));
            ++size_;
        } else if (storage_ == Storage::Raw32 && raw >= std::numeric_limits<std::int32_t>::min() &&
                   raw <= std::numeric_limits<std::int32_t>::max()) {
            raw32_.push_back(static_cast<std::int32_t>(raw));
            ++size_;
        } else {
            AppendRaw(static_cast<double>(raw));
        }
    }
    // Appends a computed value and its gap flag (computed channels only).
    void AppendValue(double value, bool gap);
    // Appends the first `count` samples of `from`, a channel of raw numbers with the same scale,
    // widening the storage as appending them one by one would.
    void AppendSamples(const AnalogColumns& from, std::size_t count);

    [[nodiscard]] std::size_t size() const noexcept { return size_; }
    [[nodiscard]] double Value(std::size_t i) const noexcept { return Samples()[i]; }
    [[nodiscard]] bool Gap(std::size_t i) const noexcept { return Samples().IsGap(i); }
    // A view of all values for readers of many samples (drawing, analysis).
    [[nodiscard]] SampleColumn Samples() const noexcept;
    // All values as doubles (for an analysis that needs them side by side).
    [[nodiscard]] std::vector<double> Values() const;
    // Bytes taken by the samples (not by the harmonic results).
    [[nodiscard]] std::size_t SampleBytes() const noexcept;

    HarmonicColumns harmonics;
    FundamentalColumns fundamental;
    // A formula channel's angle as its angle formula gave it, per sample; empty for every other
    // channel. Where it is set, readers take it instead of the analysed angle.
    std::vector<double> formulaAngle;
    // A formula channel whose value formula reads no instantaneous source value (only RMS,
    // angles and numbers) and which has an angle formula: its value is the modulus of a phasor
    // of that angle (a sequence component, an RMS turned), read and drawn as such rather than as
    // a waveform whose own harmonics would be about nothing.
    bool valueIsModulus = false;

  private:
    enum class Storage : std::uint8_t { Computed, Raw16, Raw32, RawDouble };

    template <typename T>
    void Widen(std::vector<T>& into);
    void WidenTo(Storage storage);
    // The narrowest storage, no narrower than `atLeast`, of the first `count` samples.
    [[nodiscard]] Storage StorageFor(std::size_t count, Storage atLeast) const;
    template <typename T>
    void AppendFrom(std::vector<T>& into, const AnalogColumns& from, std::size_t count) const;

    Storage storage_ = Storage::Computed;
    RawScale scale_;
    std::size_t size_ = 0;
    std::size_t reserved_ = 0;
    std::vector<std::int16_t> raw16_;
    std::vector<std::int32_t> raw32_;
    std::vector<double> values_;      // raw doubles, or a computed channel's values
    std::vector<std::uint8_t> gaps_;  // a computed channel's gap flags; empty while it has none
};

// The state line of one discrete channel: only the points where the state changes, two per
// change (the state before and the state after, at one time), each state 0 or 1. Where a strip
// draws them is the strip's business.
struct DiscreteColumns {
    bool hasStrip = true;  // false for a spare channel, whose samples are dropped
    std::vector<double> x;
    std::vector<double> state;
    // Per change (each pair of points but the closing one), the sample it takes effect at.
    std::vector<std::size_t> changeSamples;
    double oldState = 0.0;
};

// All samples of one record, as columns. Index i of every column is sample i, the zero-based
// position of its line in the sample file.
struct RecordData {
    std::vector<std::int32_t> timeUs;  // microseconds relative to the trigger
    std::vector<double> xMs;           // timeUs / 1000
    std::vector<AnalogColumns> analog;
    std::vector<DiscreteColumns> discrete;
    bool timeAscending = true;  // no sample is earlier than the one before it

    [[nodiscard]] std::size_t SampleCount() const noexcept { return timeUs.size(); }
};

}  // namespace faultscope
