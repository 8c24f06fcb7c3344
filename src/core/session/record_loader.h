#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/analysis/harmonic_fill.h"
#include "core/record/channel_data.h"
#include "core/record/progress.h"
#include "core/record/record_config.h"
#include "core/record/record_data.h"
#include "core/record/record_files.h"
#include "core/record/time_base.h"

namespace faultscope {

// One record read completely: its configuration, its samples as columns with their harmonic
// analysis, and the cursor a window starts with.
struct LoadedRecord {
    RecordFiles files;
    RecordConfig cfg;
    TimeBase timeBase;
    RecordData data;
    std::ptrdiff_t cursor = -1;  // the sample nearest to the trigger
    // What went wrong without stopping the load (a trace file that could not be written).
    std::vector<std::string> warnings;
};

// The stages of a load that take time, in order.
enum class LoadStep { Reading, Harmonics, Finishing };

// How a load runs and what it tells its caller on the way. Every hook may be empty and is called
// on the calling thread.
struct LoadOptions {
    TextEncoding encoding = TextEncoding::Windows;
    QString traceFolder;  // where traced channels write; none when empty
    // Analyse every analog channel during the load. Otherwise only the traced channels are (their
    // trace is written once per load) and the others wait until someone asks (FillHarmonicsOf).
    bool allHarmonics = false;
    unsigned threads = 0;  // worker threads of the reading and the analysis; 0: hardware threads
    // Once the configuration is read: the caption and the range of the progress.
    std::function<void(const RecordConfig& cfg)> configRead;
    // About every 30 ms: the number of sample lines read so far (all of them while the channels
    // are analysed).
    ProgressPump::Callback progress;
    // When a stage begins (after the configuration is read).
    std::function<void(LoadStep step)> stepStarted;
    // Asked after every progress call; true stops the load with LoadCancelled.
    std::function<bool()> cancelled;
};

// Shown when the chosen file has no partner of the pair beside it.
inline constexpr char kNoRecordPairMessage[] =
    "Ошибка открытия файла. Файла с таким именем и расширение .dat или .cfg не существует.";

// The one sequence of loading steps, for every caller (window, command line, tests). Raises
// LoadError with exactly the message the user sees, with the prefix of the failing stage, or
// LoadCancelled when options.cancelled said so.
LoadedRecord LoadRecord(const QString& path, const LoadOptions& options);

// What FillHarmonicsOf keeps and how it runs.
struct HarmonicRequest {
    HarmonicPart part = HarmonicPart::Drawing;
    unsigned threads = 0;  // as in LoadOptions
    // As in ParallelFillOptions: called about every 30 ms with the channels done; may throw.
    std::function<void(std::size_t channelsDone)> poll;
    std::uint64_t memoryBudget = 0;  // bytes the fill may take; 0: what the system has available
};

// Fills the harmonic columns of request.part of the analog channels `channels` that are still
// empty, in parallel. Traces nothing. Raises LoadError ("Недостаточно памяти") before it starts
// when the columns and the workers' copies of the samples would not fit into the budget.
void FillHarmonicsOf(LoadedRecord& record, std::span<const std::size_t> channels,
                     const HarmonicRequest& request = {});

// Raises the LoadError of FillHarmonicsOf when analysing `channels` channels of `samples` samples
// would not fit into the request's budget.
void CheckHarmonicMemory(std::uint64_t samples, std::size_t channels,
                         const HarmonicRequest& request);

}  // namespace faultscope
