#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <unordered_map>

#include "core/analysis/harmonics.h"
#include "core/analysis/sliding_dft.h"

namespace faultscope {

// Sliding sums for every window length a record uses. Sample times in whole microseconds make
// the spacing jitter (78 or 79 µs at 12.8 kHz), and a recorder with a drifting clock changes it
// at every sample; each length keeps its own sums alive and slides them forward when asked
// again, so a window costs the steps since that length's last window, never a fresh sum over
// the whole window. Over a fill every length slides through the record at most once, and the
// work is proportional to the samples times the lengths in use at once.
//
// Sums whose window has slid out of reach are dropped. Past a memory budget the least recently
// used length is dropped too and starts afresh when it is asked again, which bounds the work of
// one window by its length.
class SlidingDftSet {
  public:
    explicit SlidingDftSet(std::span<const double> y) : y_(y) {}

    // The sums of `window`; windows must come in ascending order of their end.
    [[nodiscard]] HarmonicSums SumsAt(const HarmonicWindow& window);

    // Window lengths whose sums are kept at the moment.
    [[nodiscard]] std::size_t KeptLengths() const noexcept { return slots_.size(); }

  private:
    struct Slot {
        std::unique_ptr<SlidingDft> dft;
        std::size_t lastEnd = 0;
    };

    SlidingDft& Find(std::size_t length, std::size_t end);
    void DropUnreachable(std::size_t end);
    void DropLeastRecent();

    std::span<const double> y_;
    std::unordered_map<std::size_t, Slot> slots_;
    std::size_t keptSamples_ = 0;  // the sum of the kept lengths
    std::size_t windowsSinceSweep_ = 0;
};

}  // namespace faultscope
