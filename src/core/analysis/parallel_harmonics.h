#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

#include "core/analysis/harmonic_fill.h"
#include "core/record/record_data.h"

namespace faultscope {

struct ParallelFillOptions {
    // Worker threads; 0 takes the machine's hardware threads. 1 fills on the calling thread.
    unsigned threads = 0;
    // Called on the calling thread about every 30 ms while the workers run, with the number of
    // channels done. It may throw (a cancelled load): the workers then stop at their next
    // pause, are joined, and the exception goes on to the caller.
    std::function<void(std::size_t channelsDone)> poll;
    // One entry per channel in `channels`; where it is not null, the fill also writes the
    // channel's trace columns there.
    std::span<HarmonicTraceColumns* const> traces;
    // The results kept: the drawing columns (AnalogColumns::harmonics) or the fundamental in
    // double (AnalogColumns::fundamental).
    HarmonicPart part = HarmonicPart::Drawing;
};

// Fills the harmonic columns (of options.part) of the analog channels `channels` (indices into
// data.analog and cfg.analog) at once on a pool of worker threads: each channel is one piece
// of work, and its results are the ones FillHarmonics gives on one thread, bit for bit. Only the
// columns of the listed channels are written. On an error the error of the first failing channel in
// the order of `channels` is thrown, as a serial fill would; the columns of the listed channels are
// then left empty.
void FillChannelsHarmonics(std::span<const double> xMs, std::span<AnalogColumns> analog,
                           double frequency, std::span<const std::string> channelIds,
                           std::span<const std::size_t> channels,
                           const ParallelFillOptions& options = {});

// The number of worker threads a fill of `pieces` channels uses for `requested` (0: the
// machine's hardware threads).
[[nodiscard]] unsigned FillThreads(unsigned requested, std::size_t pieces) noexcept;

}  // namespace faultscope
