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

LineFault LocateLineFault(const LoadedRecord& record, const LineChannels& line,
                          const LineModel& model, std::optional<double> timeMs,
                          std::string_view channelId) {
    const std::span<const double> x = record.data.xMs;
    CheckHarmonicAnalysis(x, record.cfg.freq, channelId);
    const FaultReport report =
        ReportFault(x, record.data.timeAscending, line, record.cfg.freq, model, timeMs);
    if (!report.location) {
        return {.reason = report.reason};
    }
    return {.location = report.location, .timeMs = x[*report.sample]};
}

int PrintFaultLocation(const LoadedRecord& record, const LocateRequest& request, std::ostream& out,
                       std::ostream& err) {
    const LineChannels line = MakeLineChannels(record, request.voltages, request.currents);
    const LineFault fault = LocateLineFault(record, line, request.line, request.timeMs,
                                            record.cfg.analog[request.currents[0]].ch_id);
    if (!fault.location) {
        err << fault.reason << '\n';
        return 1;
    }
    PrintLocation(*fault.location, fault.timeMs, out);
    return 0;
}

}  // namespace faultscope::cli
