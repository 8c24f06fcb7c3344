#include "cli/locate_command.h"

#include <string>

#include "cli/command_support.h"
#include "core/analysis/fault_report.h"
#include "core/analysis/harmonic_fill.h"

namespace faultscope::cli {
namespace {

void PrintLocation(const FaultLocation& found, double timeMs, std::ostream& out) {
    out << "type,time_ms,distance_km,percent,r,x\n"
        << FaultTypeName(found.type) << ',' << Fixed6(timeMs) << ',' << Fixed6(found.distanceKm)
        << ',' << Fixed6(found.percent) << ',' << Fixed6(found.impedance.real()) << ','
        << Fixed6(found.impedance.imag()) << '\n';
    CheckWritten(out);
}

}  // namespace

int PrintFaultLocation(const LoadedRecord& record, const LocateRequest& request, std::ostream& out,
                       std::ostream& err) {
    const LineChannels line = MakeLineChannels(record, request.voltages, request.currents);
    const std::span<const double> x = record.data.xMs;
    CheckHarmonicAnalysis(x, record.cfg.freq, record.cfg.analog[request.currents[0]].ch_id);
    const FaultReport report = ReportFault(x, record.data.timeAscending, line, record.cfg.freq,
                                           request.line, request.timeMs);
    if (!report.location) {
        err << report.reason << '\n';
        return 1;
    }
    PrintLocation(*report.location, x[*report.sample], out);
    return 0;
}

}  // namespace faultscope::cli
