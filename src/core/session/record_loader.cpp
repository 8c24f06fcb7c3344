#include "core/session/record_loader.h"

#include <algorithm>

#include "core/analysis/harmonic_trace.h"
#include "core/analysis/parallel_harmonics.h"
#include "core/record/load_error.h"
#include "core/record/memory_budget.h"
#include "core/record/nearest_sample.h"
#include "core/record/sample_reader.h"

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

void OpenRecordFiles(const QString& path, TextEncoding encoding, LoadedRecord& record) {
    if (!CheckFile(path, record.files)) {
        throw LoadError(kNoRecordPairMessage);
    }
    record.cfg = LoadCfgFile(record.files.cfgPath, encoding);
}

void CreateTimeBase(LoadedRecord& record) {
    const RecordConfig& cfg = record.cfg;
    Prefixed("Ошибка создания оси времени. ", [&] {
        record.timeBase.CreateTimeLine(cfg.nrates, cfg.samp, cfg.timemult, cfg.dt_First,
                                       cfg.dt_Trigger);
    });
}

void CheckAnalogChannels(const LoadedRecord& record) {
    Prefixed("Ошибка создания аналоговых графиков. ",
             [&] { CheckAnalogStripNames(record.cfg.analog); });
}

// The channels the load analyses: every one, or only the traced ones (whose trace is written once
// per load).
std::vector<std::size_t> ChannelsAnalysedOnLoad(const RecordConfig& cfg,
                                                const LoadOptions& options) {
    std::vector<std::size_t> channels;
    for (std::size_t i = 0; i < cfg.analog.size(); ++i) {
        const bool traced = !options.traceFolder.isEmpty() && IsTracedChannel(cfg.analog[i].ch_id);
        if (traced || options.allHarmonics) {
            channels.push_back(i);
        }
    }
    return channels;
}

void ReadRecordSamples(LoadedRecord& record, const LoadOptions& options, ProgressPump& pump) {
    InitRecordData(record.cfg, record.data);
    ReadSamples(record.files.datPath, record.cfg, record.timeBase, record.data, pump,
                AvailableMemory(), SampleSplit{.threads = options.threads},
                ChannelsAnalysedOnLoad(record.cfg, options).size());
    record.data.timeAscending = std::is_sorted(record.data.xMs.begin(), record.data.xMs.end());
}

std::vector<std::string> ChannelIds(const RecordConfig& cfg) {
    std::vector<std::string> ids;
    ids.reserve(cfg.analog.size());
    for (const AnalogChannel& ch : cfg.analog) {
        ids.push_back(ch.ch_id);
    }
    return ids;
}

// The analysis during the load: every channel, or only the traced ones, whose traces are then
// appended in channel order.
void AnalyseChannels(LoadedRecord& record, const LoadOptions& options, ProgressPump& pump) {
    const std::vector<std::size_t> channels = ChannelsAnalysedOnLoad(record.cfg, options);
    std::vector<HarmonicTraceColumns> traces(record.data.analog.size());
    std::vector<HarmonicTraceColumns*> traceOf;
    for (const std::size_t i : channels) {
        const bool traced =
            !options.traceFolder.isEmpty() && IsTracedChannel(record.cfg.analog[i].ch_id);
        traceOf.push_back(traced ? &traces[i] : nullptr);
    }
    const std::vector<std::string> ids = ChannelIds(record.cfg);
    const auto lines = static_cast<std::int64_t>(record.data.SampleCount());
    FillChannelsHarmonics(record.data.xMs, record.data.analog, record.cfg.freq, ids, channels,
                          {options.threads, [&](std::size_t) { pump.Fire(lines); }, traceOf});
    for (std::size_t k = 0; k < channels.size(); ++k) {
        if (traceOf[k] == nullptr) {
            continue;
        }
        const std::string& id = record.cfg.analog[channels[k]].ch_id;
        if (auto warning = AppendHarmonicTrace(options.traceFolder, id, *traceOf[k])) {
            record.warnings.push_back(std::move(*warning));
        }
    }
}

void FinishRecord(LoadedRecord& record) {
    const double end = record.timeBase.AxisMax();
    for (DiscreteColumns& ch : record.data.discrete) {
        if (ch.hasStrip) {
            DiscreteAfterAllDataLoad(ch, end);
        }
    }
    // A window starts showing the whole record, the cursor nearest the trigger.
    record.cursor = NearestSample(record.data.xMs, record.data.timeAscending, 0.0,
                                  record.timeBase.AxisMin(), end);
}

ProgressPump::Callback WithCancel(const LoadOptions& options) {
    if (!options.progress && !options.cancelled) {
        return {};
    }
    return [&options](std::int64_t done) {
        if (options.progress) {
            options.progress(done);
        }
        if (options.cancelled && options.cancelled()) {
            throw LoadCancelled();
        }
    };
}

}  // namespace

LoadedRecord LoadRecord(const QString& path, const LoadOptions& options) {
    LoadedRecord record;
    OpenRecordFiles(path, options.encoding, record);
    if (options.configRead) {
        options.configRead(record.cfg);
    }
    CreateTimeBase(record);
    CheckAnalogChannels(record);
    ProgressPump pump(WithCancel(options));
    const auto step = [&options](LoadStep next) {
        if (options.stepStarted) {
            options.stepStarted(next);
        }
    };
    step(LoadStep::Reading);
    ReadRecordSamples(record, options, pump);
    step(LoadStep::Harmonics);
    AnalyseChannels(record, options, pump);
    step(LoadStep::Finishing);
    FinishRecord(record);
    pump.Fire(static_cast<std::int64_t>(record.data.SampleCount()));
    return record;
}

void CheckHarmonicMemory(std::uint64_t samples, std::size_t channels,
                         const HarmonicRequest& request) {
    const std::uint64_t perSample =
        request.part == HarmonicPart::Drawing ? HarmonicBytesPerSample() : 2 * sizeof(double);
    // Each worker widens one channel's samples to doubles while it analyses them.
    const std::uint64_t needed =
        samples * (perSample * channels + sizeof(double) * FillThreads(request.threads, channels));
    CheckMemory(needed, request.memoryBudget != 0 ? request.memoryBudget : AvailableMemory(),
                "расчёту гармоник");
}

void FillHarmonicsOf(LoadedRecord& record, std::span<const std::size_t> channels,
                     const HarmonicRequest& request) {
    std::vector<std::size_t> missing;
    for (const std::size_t c : channels) {
        if (!HasHarmonicPart(record.data.analog.at(c), request.part)) {
            missing.push_back(c);
        }
    }
    if (missing.empty()) {
        return;
    }
    CheckHarmonicMemory(record.data.SampleCount(), missing.size(), request);
    const std::vector<std::string> ids = ChannelIds(record.cfg);
    FillChannelsHarmonics(record.data.xMs, record.data.analog, record.cfg.freq, ids, missing,
                          {request.threads, request.poll, {}, request.part});
}

}  // namespace faultscope
