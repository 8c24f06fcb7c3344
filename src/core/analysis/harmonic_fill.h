#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "core/analysis/harmonics.h"
#include "core/record/record_data.h"

namespace faultscope {

class ProgressPump;

// Per sample: the end of the window the sample was analysed over and the cosine and sine
// amplitudes of its fundamental.
struct HarmonicTraceColumns {
    std::vector<std::size_t> windowEnd;
    std::vector<double> re1;
    std::vector<double> im1;
};

struct HarmonicFillOptions {
    std::string_view channelId;             // named in error messages
    ProgressPump* pump = nullptr;           // ticked with the number of samples done
    HarmonicTraceColumns* trace = nullptr;  // filled too when given
    // Filled too when given: the fundamental in double, for formulas.
    FundamentalColumns* fundamental = nullptr;
    // The samples outside the channel's range, ascending (GapSamples): a window that holds one
    // gives no harmonics and no angle.
    std::span<const std::size_t> gapSamples;
};

// The samples of `column` that are gaps, ascending.
[[nodiscard]] std::vector<std::size_t> GapSamples(const SampleColumn& column);

// Which results of the analysis a fill keeps: the float columns the curves are drawn from, or the
// fundamental in double that formulas read.
enum class HarmonicPart { Drawing, Fundamental };

// The columns of `part` in a channel, filled or not.
[[nodiscard]] inline bool HasHarmonicPart(const AnalogColumns& ch, HarmonicPart part) noexcept {
    const std::size_t n =
        part == HarmonicPart::Drawing ? ch.harmonics.size() : ch.fundamental.size();
    return n == ch.size() && n > 0;
}

// RMS of harmonic kHarmonicOrders[k] from the sums, as every fill and printout computes it.
[[nodiscard]] double HarmonicRms(const HarmonicSums& sums, std::size_t k) noexcept;

using HarmonicSumsVisitor = std::function<void(std::size_t sample, const HarmonicSums& sums)>;

// The analysis of every sample in order, in double: `visit` gets each sample's one-cycle sums
// (all zero where the record holds no full window), the same as CalcHarmonicSums gives sample by
// sample to within 1e-9 of the largest value of the sample's window, at a cost per sample that
// does not grow with the window length. Nothing is stored, so a caller that prints the numbers
// needs no columns. A window holding one of `gapSamples` (ascending) is marked overGap. Throws
// LoadError for a frequency that is not positive and finite, sample times that do not ascend, or
// a window longer than kMaxWindowLength.
void VisitHarmonicSums(std::span<const double> xMs, std::span<const double> y, double frequency,
                       const HarmonicSumsVisitor& visit, std::string_view channelId = {},
                       ProgressPump* pump = nullptr, std::span<const std::size_t> gapSamples = {});

// Throws the LoadError a fill over these sample times would throw, without analysing anything:
// for a caller that must refuse before it writes its first result.
void CheckHarmonicAnalysis(std::span<const double> xMs, double frequency,
                           std::string_view channelId = {});

// A result as the drawing columns keep it: rounded to float, a magnitude beyond float's range
// held at the largest float, so a record of huge values still draws finite curves.
[[nodiscard]] float DrawingValue(double value) noexcept;

// An angle as the drawing columns keep it: rounded to float and kept below 360 (an angle just
// below 360 would round up to it; it becomes 0, as printed angles do). kUndefinedAngle stays.
[[nodiscard]] float DrawingAngle(double angle) noexcept;

// Fills `out` (replacing its contents) with the analysis of every sample as VisitHarmonicSums
// gives it, each number rounded once to float (DrawingValue, DrawingAngle); a sample whose window
// holds a gap gets magnitudes that are not a number, which curves leave out, and kUndefinedAngle
// (the fundamental columns likewise). Throws as
// VisitHarmonicSums does; `out` (and the columns of the options) are left empty then.
void FillHarmonics(std::span<const double> xMs, std::span<const double> y, double frequency,
                   HarmonicColumns& out, const HarmonicFillOptions& options = {});

// Fills `out` with the fundamental of every sample in double, the numbers FillHarmonics rounds.
void FillFundamental(std::span<const double> xMs, std::span<const double> y, double frequency,
                     FundamentalColumns& out, const HarmonicFillOptions& options = {});

}  // namespace faultscope
