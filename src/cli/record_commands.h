#pragma once

#include <QString>
#include <ostream>

#include "core/record/text_encoding.h"
#include "core/session/record_loader.h"

namespace faultscope::cli {

// `events`: every state change of the discrete channels after the first sample as CSV
// "sample,time_ms,datetime,channel,state".
void PrintEvents(const LoadedRecord& record, std::ostream& out);

// `cut`: the samples whose time lies in [fromMs, toMs] written as the pair outBase.cfg/.dat and,
// when csvPath is not empty, as CSV of every channel. Says what was written on `out`; raises
// CutError with the reason when nothing can be.
void WriteCut(const LoadedRecord& record, double fromMs, double toMs, const QString& outBase,
              const QString& csvPath, TextEncoding encoding, std::ostream& out);

}  // namespace faultscope::cli
