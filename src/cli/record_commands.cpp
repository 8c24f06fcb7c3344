#include "cli/record_commands.h"

#include <numeric>
#include <string>
#include <vector>

#include "cli/command_support.h"
#include "core/record/state_events.h"
#include "core/session/record_cut.h"

namespace faultscope::cli {

void PrintEvents(const LoadedRecord& record, std::ostream& out) {
    out << "sample,time_ms,datetime,channel,state\n";
    for (const StateEvent& e : ListStateEvents(record.data)) {
        out << e.sample << ',' << Fixed6(record.data.xMs[e.sample]) << ','
            << IsoMicroseconds(record.timeBase.AbsoluteMicroseconds(e.timeUs)) << ','
            << CsvField(record.cfg.digital[e.channel].ch_id) << ',' << (e.state ? '1' : '0')
            << '\n';
    }
}

void WriteCut(const LoadedRecord& record, double fromMs, double toMs, const QString& outBase,
              const QString& csvPath, TextEncoding encoding, std::ostream& out) {
    const SampleRange range = SamplesWithin(record.data, fromMs, toMs);
    WriteRecordCut(record, range, outBase, encoding);
    out << "cut: samples " << range.first << ".." << range.last << " (" << range.Count()
        << ") written to " << (outBase + ".cfg").toStdString() << " and "
        << (outBase + ".dat").toStdString() << '\n';
    if (csvPath.isEmpty()) {
        return;
    }
    std::vector<std::size_t> analog(record.cfg.analog.size());
    std::iota(analog.begin(), analog.end(), std::size_t{0});
    std::vector<std::size_t> digital;
    for (std::size_t c = 0; c < record.data.discrete.size(); ++c) {
        if (record.data.discrete[c].hasStrip) {
            digital.push_back(c);
        }
    }
    WriteCutCsv(record, range, {.analog = analog, .digital = digital}, csvPath);
    out << "csv: " << csvPath.toStdString() << '\n';
}

}  // namespace faultscope::cli
