#include "cli/record_summary.h"

#include <QFileInfo>
#include <array>
#include <cmath>
#include <limits>
#include <new>
#include <optional>
#include <span>

#include "cli/command_support.h"
#include "cli/json_writer.h"
#include "cli/line_data.h"
#include "cli/locate_command.h"
#include "core/analysis/harmonic_fill.h"
#include "core/record/load_error.h"
#include "core/record/native_file.h"
#include "core/record/state_events.h"
#include "core/session/record_loader.h"
#include "core/viewtemplate/view_template.h"

namespace faultscope::cli {
namespace {

// The words that give a channel its role, pick-ups first: they win over trips.
struct RoleWords {
    SignalRole role;
    std::array<const char*, 3> words;
};
constexpr std::array<RoleWords, 2> kRoleWords = {{
    {SignalRole::PickUp, {"Пуск", "pickup", "start"}},
    {SignalRole::Trip, {"Срабатывание", "Отключение", "trip"}},
}};

constexpr char kOutOfMemory[] = "Недостаточно памяти для загрузки осциллограммы";

// The largest fundamental RMS of a channel and the sample where it is first reached.
struct LargestFundamental {
    double rms = std::numeric_limits<double>::quiet_NaN();
    std::size_t sample = 0;
};

LargestFundamental FindLargestFundamental(std::span<const double> xMs, const AnalogColumns& channel,
                                          double frequency, std::string_view channelId) {
    const std::vector<double> y = channel.Values();
    LargestFundamental largest;
    VisitHarmonicSums(
        xMs.first(y.size()), y, frequency,
        [&largest](std::size_t i, const HarmonicSums& sums) {
            if (sums.overGap) {
                return;
            }
            const double rms = HarmonicRms(sums, 0);
            if (rms > largest.rms || (std::isnan(largest.rms) && !std::isnan(rms))) {
                largest = {rms, i};
            }
        },
        channelId, nullptr, GapSamples(channel.Samples()));
    return largest;
}

void WriteHeader(const std::string& file, const LoadedRecord& record, JsonWriter& json) {
    const std::vector<double>& x = record.data.xMs;
    json.Field("file", file);
    json.Field("station", record.cfg.station_name);
    json.Field("device", record.cfg.rec_dev_id);
    json.Field("trigger", IsoMicroseconds(record.timeBase.TriggerTime().ToMicroseconds()));
    json.Field("duration_ms",
               x.empty() ? std::numeric_limits<double>::quiet_NaN() : x.back() - x.front());
    json.Field("samples", std::uint64_t{record.data.SampleCount()});
}

void WriteAnalogChannels(const LoadedRecord& record, JsonWriter& json) {
    const std::span<const double> x = record.data.xMs;
    const std::size_t channels = std::min(record.data.analog.size(), record.cfg.analog.size());
    json.Key("analog");
    json.BeginArray();
    for (std::size_t c = 0; c < channels; ++c) {
        const AnalogChannel& info = record.cfg.analog[c];
        const LargestFundamental largest =
            FindLargestFundamental(x, record.data.analog[c], record.cfg.freq, info.ch_id);
        json.BeginObject();
        json.Field("channel", info.ch_id);
        json.Field("unit", info.uu);
        json.Field("rms1", largest.rms);
        json.Field("time_ms", std::isnan(largest.rms) ? largest.rms : x[largest.sample]);
        json.EndObject();
    }
    json.EndArray();
}

void WriteSignal(const LoadedRecord& record, const char* key,
                 const std::optional<StateEvent>& event, JsonWriter& json) {
    if (!event) {
        json.NullField(key);
        return;
    }
    json.Key(key);
    json.BeginObject();
    json.Field("channel", record.cfg.digital[event->channel].ch_id);
    json.Field("time_ms", record.data.xMs[event->sample]);
    json.EndObject();
}

void WriteFirstSignals(const LoadedRecord& record, JsonWriter& json) {
    std::vector<SignalRole> roles;
    for (const DigitalChannel& channel : record.cfg.digital) {
        roles.push_back(RoleOfSignal(channel.ch_id));
    }
    std::optional<StateEvent> pickUp;
    std::optional<StateEvent> trip;
    for (const StateEvent& e : ListStateEvents(record.data)) {
        if (!e.state || e.channel >= roles.size()) {
            continue;
        }
        if (roles[e.channel] == SignalRole::PickUp && !pickUp) {
            pickUp = e;
        } else if (roles[e.channel] == SignalRole::Trip && !trip) {
            trip = e;
        }
    }
    WriteSignal(record, "pickup", pickUp, json);
    WriteSignal(record, "trip", trip, json);
}

void WriteFault(const LoadedRecord& record, bool useTemplate, JsonWriter& json) {
    if (!useTemplate) {
        json.NullField("fault");
        return;
    }
    ViewTemplate view(record.files.fileName, QFileInfo(record.files.cfgPath).suffix());
    LineFault fault;
    try {
        const std::optional<LineData> data = ReadLineData(view.Ini());
        if (!data) {
            json.NullField("fault");
            return;
        }
        const LineChannels line = FindLineChannels(record, *data);
        fault = LocateLineFault(record, line, data->line, std::nullopt, data->currents[0]);
    } catch (const LineDataError& e) {
        fault.reason = e.what();
    }
    json.Key("fault");
    json.BeginObject();
    if (!fault.location) {
        json.Field("error", fault.reason);
    } else {
        const FaultLocation& found = *fault.location;
        json.Field("type", FaultTypeName(found.type));
        json.Field("time_ms", fault.timeMs);
        json.Field("distance_km", found.distanceKm);
        json.Field("percent", found.percent);
        json.Field("r", found.impedance.real());
        json.Field("x", found.impedance.imag());
    }
    json.EndObject();
}

RecordSummary FailedSummary(const std::string& file, const std::string& message) {
    JsonWriter json;
    json.BeginObject();
    json.Field("file", file);
    json.Field("error", message);
    json.EndObject();
    return {.json = json.Take(), .failed = true};
}

}  // namespace

SignalRole RoleOfSignal(std::string_view name) {
    const QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    for (const RoleWords& kind : kRoleWords) {
        for (const char* word : kind.words) {
            if (text.contains(QString::fromUtf8(word), Qt::CaseInsensitive)) {
                return kind.role;
            }
        }
    }
    return SignalRole::Other;
}

RecordSummary SummariseRecord(const std::string& file, const RecordSummaryOptions& options) {
    try {
        LoadedRecord record = LoadRecord(PathFromNative(file), {.encoding = options.encoding,
                                                                .traceFolder = options.traceFolder,
                                                                .threads = options.threads,
                                                                .cancelled = options.cancelled});
        JsonWriter json;
        json.BeginObject();
        WriteHeader(file, record, json);
        WriteAnalogChannels(record, json);
        WriteFirstSignals(record, json);
        WriteFault(record, options.useTemplate, json);
        json.EndObject();
        return {.json = json.Take(), .warnings = std::move(record.warnings)};
    } catch (const LoadCancelled&) {
        return {};
    } catch (const LoadError& e) {
        return FailedSummary(file, e.what());
    } catch (const std::bad_alloc&) {
        return FailedSummary(file, kOutOfMemory);
    } catch (const std::exception& e) {
        return FailedSummary(file, e.what());
    }
}

}  // namespace faultscope::cli
