#pragma once

#include <QIODevice>
#include <QString>

#include "record/memory_budget.h"
#include "record/progress.h"
#include "record/record_data.h"
#include "record/record_model.h"
#include "record/time_base.h"

namespace faultscope {

// Prepares empty columns for the channels of `cfg`.
void InitRecordData(const TCfgFile& cfg, RecordData& data);

// Reads `cfg.endsamp` lines of the sample file into the columns of `data` (set up with
// InitRecordData), taking each line's time from `timeBase`. Lines after the last sample are not
// read. Raises LoadError with the line's message, naming the sample number written in the line,
// and LoadError ("Недостаточно памяти") as soon as the record is seen not to fit into
// `memoryBudget` bytes (MemoryBudget).
void ReadSamples(const QString& datPath, const TCfgFile& cfg, TimeBase& timeBase, RecordData& data,
                 ProgressPump& pump, std::uint64_t memoryBudget = AvailableMemory());

// The same from an open device (a file, or a buffer in memory).
void ReadSamples(QIODevice& device, const TCfgFile& cfg, TimeBase& timeBase, RecordData& data,
                 ProgressPump& pump, std::uint64_t memoryBudget = AvailableMemory());

}  // namespace faultscope
