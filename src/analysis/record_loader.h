#pragma once

#include <QString>
#include <cstddef>
#include <string>
#include <vector>

#include "record/channel_data.h"
#include "record/progress.h"
#include "record/record_data.h"
#include "record/record_files.h"
#include "record/record_model.h"
#include "record/time_base.h"
#include "record/time_zoom.h"

namespace faultscope {

// One record read completely: its configuration, its samples as columns with their harmonic
// analysis, and the time range and cursor a window starts with.
struct LoadedRecord {
    RecordFiles files;
    TCfgFile cfg;
    TimeBase timeBase;
    RecordData data;
    TimeZoom time;
    std::ptrdiff_t cursor = -1;  // the sample nearest to the trigger
    // What went wrong without stopping the load (a trace file that could not be written).
    std::vector<std::string> warnings;
};

struct LoadOptions {
    TextEncoding encoding = TextEncoding::Windows;
    QString traceFolder;              // where traced channels write; none when empty
    ProgressPump::Callback progress;  // gets the number of sample lines read so far
};

// Shown when the chosen file has no partner of the pair beside it.
inline constexpr char kNoRecordPairMessage[] =
    "Ошибка открытия файла. Файла с таким именем и расширение .dat или .cfg не существует.";

// The steps of a load, in order; each raises LoadError with exactly the message the user sees.
// A record window runs them one by one between building its views; LoadRecord runs them all.
void OpenRecordFiles(const QString& path, TextEncoding encoding, LoadedRecord& record);
void CreateTimeBase(LoadedRecord& record);
void CheckAnalogChannels(const LoadedRecord& record);
void ReadRecordSamples(LoadedRecord& record, ProgressPump& pump);
void AnalyseChannels(LoadedRecord& record, const QString& traceFolder, ProgressPump& pump);
void FinishRecord(LoadedRecord& record);

LoadedRecord LoadRecord(const QString& path, const LoadOptions& options);

}  // namespace faultscope
