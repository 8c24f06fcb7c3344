#pragma once

#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/record/text_encoding.h"

namespace faultscope::cli {

// What a discrete channel tells by its name: that a protection started (picked up) or that it
// tripped. A name holding "Пуск", "pickup" or "start" in any letter case is a pick-up; one
// holding "Срабатывание", "Отключение" or "trip" is a trip. A name with words of both kinds
// ("Пуск на отключение") names the start of what it trips, so it is a pick-up.
enum class SignalRole { Other, PickUp, Trip };

[[nodiscard]] SignalRole RoleOfSignal(std::string_view name);

// How SummariseRecord loads a record.
struct RecordSummaryOptions {
    TextEncoding encoding = TextEncoding::Windows;
    QString traceFolder;      // where traced channels write; none when empty
    unsigned threads = 0;     // of the load, as in LoadOptions
    bool useTemplate = true;  // read the line data of the record's ".lyt"
    // Asked during the load; true stops it, and the summary is not wanted.
    std::function<bool()> cancelled;
};

// One record summarised: its JSON object on one line (without the line break), whether the
// record failed, and the warnings of its load.
struct RecordSummary {
    std::string json;
    bool failed = false;
    std::vector<std::string> warnings;
};

// Loads the record `file` (the argument as given) and describes it as one JSON object:
//   file, station, device, trigger ("yyyy-mm-dd hh:mm:ss.ffffff"), duration_ms (the last
//   sample's time less the first's), samples;
//   analog: per recorded analog channel its channel, unit, rms1 (the largest RMS of the
//   fundamental over one cycle, windows over samples out of range left out) and time_ms (of
//   the sample where it is first reached), both null when every window holds such a sample;
//   pickup and trip: the first change to 1 after the first sample of a channel of that role,
//   as channel and time_ms, or null;
//   fault: null when the record's ".lyt" holds no line data; otherwise type, time_ms (the
//   instant evaluated), distance_km, percent, r and x as `locate` finds them, or error with the
//   reason they cannot be given.
// A record that cannot be loaded or analysed gives {"file": …, "error": …} with the message the
// program shows, and is failed. A load that options.cancelled stopped gives an empty summary.
// Never throws.
[[nodiscard]] RecordSummary SummariseRecord(const std::string& file,
                                            const RecordSummaryOptions& options);

}  // namespace faultscope::cli
