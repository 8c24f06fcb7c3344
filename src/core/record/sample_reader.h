#pragma once

#include <QIODevice>
#include <QString>
#include <cstddef>

#include "core/record/memory_budget.h"
#include "core/record/progress.h"
#include "core/record/record_config.h"
#include "core/record/record_data.h"
#include "core/record/time_base.h"

namespace faultscope {

// Text of the sample file per piece of work.
inline constexpr std::size_t kSampleChunkBytes = std::size_t{256} << 10;

// How the sample file is read: in runs of a few pieces of about `chunkBytes` per thread, split at
// line breaks, read on `threads` threads (the calling one among them), each taking the next
// piece left as it is done, and joined in file order, with the results of reading line by line,
// errors and their order included. A small file, or one thread, is read on the calling thread
// alone.
struct SampleSplit {
    unsigned threads = 0;  // 0: the machine's hardware threads
    std::size_t chunkBytes = kSampleChunkBytes;
};

// Prepares empty columns for the channels of `cfg`.
void InitRecordData(const RecordConfig& cfg, RecordData& data);

// Reads `cfg.endsamp` lines of the sample file into the columns of `data` (set up with
// InitRecordData), taking each line's time from `timeBase`. Lines after the last sample are not
// read. Raises LoadError with the line's message, naming the sample number written in the line,
// and LoadError ("Недостаточно памяти") as soon as the record is seen not to fit into
// `memoryBudget` bytes (MemoryBudget), counting the harmonic results of `analysedChannels`
// channels that the load analyses afterwards. `pump` is only called on the calling thread, while
// no worker runs.
void ReadSamples(const QString& datPath, const RecordConfig& cfg, TimeBase& timeBase,
                 RecordData& data, ProgressPump& pump,
                 std::uint64_t memoryBudget = AvailableMemory(), const SampleSplit& split = {},
                 std::size_t analysedChannels = 0);

// The same from an open device (a file, or a buffer in memory).
void ReadSamples(QIODevice& device, const RecordConfig& cfg, TimeBase& timeBase, RecordData& data,
                 ProgressPump& pump, std::uint64_t memoryBudget = AvailableMemory(),
                 const SampleSplit& split = {}, std::size_t analysedChannels = 0);

}  // namespace faultscope
