#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/harmonic_fill.h"
#include "core/record/record_data.h"

namespace faultscope {

class ProgressPump;

// Channels whose analysis is traced to a file: exactly these identifiers, letter case included.
[[nodiscard]] bool IsTracedChannel(std::string_view channelId) noexcept;

// The trace file of a channel: its identifier plus ".csv", in `folder`.
[[nodiscard]] QString HarmonicTracePath(const QString& folder, std::string_view channelId);

// A trace file that has grown past this size is renamed to its name plus ".1" (replacing an
// older one) before the next load writes, so that the traces of many loads stay bounded.
inline constexpr qint64 kTraceRotateBytes = qint64{64} << 20;

// Appends one line per sample ("window end;Re1;Im1", four decimals with the decimal separator of
// the system's locale, CR LF, Windows-1251) to the channel's trace file, in place: the old lines
// are never read. A new file starts with a header line. Loads writing the same file take turns
// under a lock file beside it ("<name>.lock"), as the settings do. The trace is a diagnostic, so a
// file that cannot be written is not an error of the load: the result is then the warning to show,
// naming the file.
[[nodiscard]] std::optional<std::string> AppendHarmonicTrace(
    const QString& folder, std::string_view channelId, const HarmonicTraceColumns& trace,
    qint64 rotateBytes = kTraceRotateBytes);

// The analysis of one channel after loading: FillHarmonics, and for a traced channel its trace
// appended to its file in traceFolder (none when traceFolder is empty). A trace that could not be
// written adds its warning to `warnings` when given. `fundamental`, when given, gets the
// fundamental in double too. `gapSamples` as in HarmonicFillOptions.
void FillChannelHarmonics(std::span<const double> xMs, std::span<const double> y, double frequency,
                          std::string_view channelId, const QString& traceFolder,
                          HarmonicColumns& out, ProgressPump* pump = nullptr,
                          std::vector<std::string>* warnings = nullptr,
                          FundamentalColumns* fundamental = nullptr,
                          std::span<const std::size_t> gapSamples = {});

}  // namespace faultscope
