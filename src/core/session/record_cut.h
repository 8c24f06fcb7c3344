#pragma once

#include <QString>
#include <cstddef>
#include <span>
#include <stdexcept>

#include "core/record/text_encoding.h"
#include "core/session/record_loader.h"

namespace faultscope {

// Why a piece of a record cannot be written, in the user's words.
class CutError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Samples first … last of a record, counted from 0, both kept.
struct SampleRange {
    std::size_t first = 0;
    std::size_t last = 0;

    [[nodiscard]] std::size_t Count() const noexcept { return last - first + 1; }
};

// The samples whose time on the record's axis lies in [fromMs, toMs]: from the first such sample
// to the last. Raises CutError with the reason when the interval is reversed or not a number,
// lies outside the record, or holds no sample.
[[nodiscard]] SampleRange SamplesWithin(const RecordData& data, double fromMs, double toMs);

// A computed analog channel (a formula channel) written after the recorded ones.
struct ExtraChannel {
    const AnalogChannel* info = nullptr;
    const AnalogColumns* columns = nullptr;
};

// Writes the samples of `range` as a new record basePath + ".cfg" and ".dat": the configuration
// lines as they are in the record's file, with the new sample count, the first kept sample's
// date-time as the start and the trigger kept (the new start when the trigger lies outside);
// every kept sample line as it is in the record's file after its number and time stamp, which
// count again from 1 and 0. `extra` channels follow the recorded analog channels, their values
// scaled into 16-bit numbers. Each file is written whole through a temporary file beside it, or
// not at all; raises CutError when a file cannot be read or written.
void WriteRecordCut(const LoadedRecord& record, SampleRange range, const QString& basePath,
                    TextEncoding encoding, std::span<const ExtraChannel> extra = {});

// The channels a CSV of a cut holds, in this order.
struct CutColumns {
    std::span<const std::size_t> analog;   // recorded analog channels, counted from 0
    std::span<const ExtraChannel> extra;   // then computed ones
    std::span<const std::size_t> digital;  // then discrete channels, counted from 0
};

// Writes the samples of `range` as CSV: a header "time_ms" and the channels' names, then per
// sample its time in milliseconds and each channel's value (empty for a sample outside a
// channel's range) or state. Written whole or not at all; raises CutError.
void WriteCutCsv(const LoadedRecord& record, SampleRange range, const CutColumns& columns,
                 const QString& path);

// The name a cut is offered under: the record's base name with the interval in milliseconds,
// "fault01_-20_80".
[[nodiscard]] QString CutBaseName(const QString& recordFileName, double fromMs, double toMs);

}  // namespace faultscope
