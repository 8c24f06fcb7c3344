#pragma once

#include <QString>
#include <span>
#include <string_view>

#include "analysis/harmonic_fill.h"
#include "record/record_data.h"

namespace faultscope {

class ProgressPump;

// Channels whose analysis is traced to a file: exactly these identifiers, letter case included.
[[nodiscard]] bool IsTracedChannel(std::string_view channelId) noexcept;

// The trace file of a channel: its identifier plus ".csv", in `folder`.
[[nodiscard]] QString HarmonicTracePath(const QString& folder, std::string_view channelId);

// Appends one line per sample ("window end;Re1;Im1", four decimals with the decimal separator of
// the system's locale, CR LF, Windows-1251) to the channel's trace file; a new file starts with
// a header line. Throws LoadError naming the file when it cannot be read or written.
void AppendHarmonicTrace(const QString& folder, std::string_view channelId,
                         const HarmonicTraceColumns& trace);

// The analysis of one channel after loading: FillHarmonics, and for a traced channel its trace
// appended to its file in traceFolder.
void FillChannelHarmonics(std::span<const double> xMs, std::span<const double> y, double frequency,
                          std::string_view channelId, const QString& traceFolder,
                          HarmonicColumns& out, ProgressPump* pump = nullptr);

}  // namespace faultscope
