#include "cli/locate_command.h"

#include <string>

#include "cli/command_support.h"
#include "core/analysis/fault_inception.h"
#include "core/analysis/harmonic_fill.h"
#include "core/record/nearest_sample.h"

namespace faultscope::cli {
namespace {

constexpr const char* kNoPreFault =
    "Повреждение не найдено: токи первого периода осциллограммы не определены";
constexpr const char* kNoRise =
    "Повреждение не найдено: ни один фазный ток не превысил вдвое доаварийное значение";
constexpr const char* kNoFaultedPhase =
    "Повреждение не найдено: в момент расчёта ни одна фаза не повреждена";

// The sample the fault is evaluated at: the one nearest the time asked for, or nearest one and a
// half cycles after the inception; nothing when no inception is found.
std::optional<std::size_t> EvaluationSample(const LoadedRecord& record, const LineChannels& line,
                                            const PreFaultCurrents& preFault,
                                            std::optional<double> timeMs) {
    const std::span<const double> x = record.data.xMs;
    if (!timeMs) {
        const std::optional<std::size_t> inception =
            FindFaultInception(x, line, record.cfg.freq, preFault);
        if (!inception) {
            return std::nullopt;
        }
        timeMs = EvaluationTimeMs(x[*inception], record.cfg.freq);
    }
    return static_cast<std::size_t>(NearestSample(x, record.data.timeAscending, *timeMs));
}

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
    const double frequency = record.cfg.freq;
    CheckHarmonicAnalysis(x, frequency, channelId);
    const std::optional<PreFaultCurrents> preFault = ReadPreFaultCurrents(x, line, frequency);
    if (!preFault) {
        return {.reason = kNoPreFault};
    }
    const std::optional<std::size_t> sample = EvaluationSample(record, line, *preFault, timeMs);
    if (!sample) {
        return {.reason = kNoRise};
    }
    const std::optional<LinePhasors> phasors = LinePhasorsAt(x, line, frequency, *sample);
    if (!phasors) {
        return {.reason = "Повреждение не определено: в окне отсчёта " + std::to_string(*sample) +
                          " есть отсчёты вне диапазона канала"};
    }
    const std::optional<FaultType> type = ClassifyFault(preFault->rms, phasors->currents);
    const std::optional<FaultLocation> found =
        type ? LocateFault(*type, *phasors, model) : std::nullopt;
    if (!found) {
        return {.reason = kNoFaultedPhase};
    }
    return {.location = found, .timeMs = x[*sample]};
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
