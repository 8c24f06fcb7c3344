#include "analysis/record_loader.h"

#include <algorithm>

#include "analysis/harmonic_trace.h"
#include "record/load_error.h"
#include "record/sample_reader.h"

namespace faultscope {
namespace {

template <typename Step>
void Prefixed(const char* prefix, Step&& step) {
    try {
        step();
    } catch (const LoadError& e) {
        throw LoadError(prefix + std::string(e.what()));
    }
}

}  // namespace

void OpenRecordFiles(const QString& path, TextEncoding encoding, LoadedRecord& record) {
    if (!ChekFile(path, record.files)) {
        throw LoadError(kNoRecordPairMessage);
    }
    record.cfg = LoadCfgFile(record.files.cfgPath, encoding);
}

void CreateTimeBase(LoadedRecord& record) {
    const TCfgFile& cfg = record.cfg;
    Prefixed("Ошибка создания оси времени. ", [&] {
        record.timeBase.CreateTimeLine(cfg.nrates, cfg.samp, cfg.timemult, cfg.dt_First,
                                       cfg.dt_Trigger);
    });
}

void CheckAnalogChannels(const LoadedRecord& record) {
    Prefixed("Ошибка создания аналоговых графиков. ",
             [&] { CheckAnalogStripNames(record.cfg.AnalogChenel); });
}

void ReadRecordSamples(LoadedRecord& record, ProgressPump& pump) {
    InitRecordData(record.cfg, record.data);
    ReadSamples(record.files.datPath, record.cfg, record.timeBase, record.data, pump);
    record.data.timeAscending = std::is_sorted(record.data.xMs.begin(), record.data.xMs.end());
}

void AnalyseChannels(LoadedRecord& record, const QString& traceFolder, ProgressPump& pump) {
    for (std::size_t i = 0; i < record.data.analog.size(); ++i) {
        AnalogColumns& ch = record.data.analog[i];
        FillChannelHarmonics(record.data.xMs, ch.value, record.cfg.freq,
                             record.cfg.AnalogChenel[i].ch_id, traceFolder, ch.harmonics, &pump,
                             &record.warnings);
    }
}

void FinishRecord(LoadedRecord& record) {
    const double end = record.timeBase.AxisMax();
    for (DiscreteColumns& ch : record.data.discrete) {
        if (ch.hasStrip) {
            DiscreteAfterAllDataLoad(ch, end);
        }
    }
    record.time.Reset(record.timeBase.AxisMin(), end);
    record.cursor = NearestSample(record.data.xMs, record.data.timeAscending, 0.0,
                                  record.time.areaMin, record.time.areaMax);
}

LoadedRecord LoadRecord(const QString& path, const LoadOptions& options) {
    LoadedRecord record;
    OpenRecordFiles(path, options.encoding, record);
    CreateTimeBase(record);
    CheckAnalogChannels(record);
    ProgressPump pump(options.progress);
    ReadRecordSamples(record, pump);
    AnalyseChannels(record, options.traceFolder, pump);
    FinishRecord(record);
    return record;
}

}  // namespace faultscope
