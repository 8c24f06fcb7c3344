#include "core/analysis/fault_report.h"

#include "core/analysis/fault_inception.h"
#include "core/record/nearest_sample.h"

namespace faultscope {
namespace {

constexpr const char* kNoPreFault =
    "Повреждение не найдено: токи первого периода осциллограммы не определены";
constexpr const char* kNoRise =
    "Повреждение не найдено: ни один фазный ток не превысил вдвое доаварийное значение";
constexpr const char* kNoFaultedPhase =
    "Повреждение не найдено: в момент расчёта ни одна фаза не повреждена";

}  // namespace

FaultReport ReportFault(std::span<const double> xMs, bool timeAscending, const LineChannels& line,
                        double frequency, const LineModel& model, std::optional<double> timeMs) {
    FaultReport report;
    const std::optional<PreFaultCurrents> preFault = ReadPreFaultCurrents(xMs, line, frequency);
    if (!preFault) {
        report.reason = kNoPreFault;
        return report;
    }
    if (!timeMs) {
        const std::optional<std::size_t> inception =
            FindFaultInception(xMs, line, frequency, *preFault);
        if (!inception) {
            report.reason = kNoRise;
            return report;
        }
        timeMs = EvaluationTimeMs(xMs[*inception], frequency);
    }
    const auto sample = static_cast<std::size_t>(NearestSample(xMs, timeAscending, *timeMs));
    report.sample = sample;
    const std::optional<LinePhasors> phasors = LinePhasorsAt(xMs, line, frequency, sample);
    if (!phasors) {
        report.reason = "Повреждение не определено: в окне отсчёта " + std::to_string(sample) +
                        " есть отсчёты вне диапазона канала";
        return report;
    }
    const std::optional<FaultType> type = ClassifyFault(preFault->rms, phasors->currents);
    report.location = type ? LocateFault(*type, *phasors, model) : std::nullopt;
    if (!report.location) {
        report.reason = kNoFaultedPhase;
    }
    return report;
}

}  // namespace faultscope
