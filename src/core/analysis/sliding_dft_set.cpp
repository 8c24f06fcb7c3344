#include "core/analysis/sliding_dft_set.h"

#include <algorithm>

namespace faultscope {
namespace {

// The kept sums hold about 32 bytes per sample of their window: at most 64 MiB in all.
constexpr std::size_t kMaxKeptSamples = std::size_t{2} << 20;

// Unreachable sums are looked for after this many windows.
constexpr std::size_t kSweepEvery = 4096;

}  // namespace

HarmonicSums SlidingDftSet::SumsAt(const HarmonicWindow& window) {
    if (++windowsSinceSweep_ == kSweepEvery) {
        DropUnreachable(window.end);
    }
    return Find(window.length, window.end).SumsAt(window.end);
}

SlidingDft& SlidingDftSet::Find(std::size_t length, std::size_t end) {
    if (const auto found = slots_.find(length); found != slots_.end()) {
        found->second.lastEnd = end;
        return *found->second.dft;
    }
    while (!slots_.empty() && keptSamples_ + length > kMaxKeptSamples) {
        DropLeastRecent();
    }
    keptSamples_ += length;
    Slot& slot = slots_[length];
    slot.dft = std::make_unique<SlidingDft>(y_, length);
    slot.lastEnd = end;
    return *slot.dft;
}

// Sums whose last window ended a whole window length ago would be computed afresh anyway.
void SlidingDftSet::DropUnreachable(std::size_t end) {
    windowsSinceSweep_ = 0;
    for (auto it = slots_.begin(); it != slots_.end();) {
        if (end - it->second.lastEnd >= it->first) {
            keptSamples_ -= it->first;
            it = slots_.erase(it);
        } else {
            ++it;
        }
    }
}

void SlidingDftSet::DropLeastRecent() {
    const auto oldest = std::min_element(slots_.begin(), slots_.end(), [](auto& a, auto& b) {
        return a.second.lastEnd < b.second.lastEnd;
    });
    keptSamples_ -= oldest->first;
    slots_.erase(oldest);
}

}  // namespace faultscope
