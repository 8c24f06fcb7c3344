#include "cli/impedance_command.h"

#include <string>

#include "cli/command_support.h"
#include "core/analysis/harmonic_fill.h"

namespace faultscope::cli {

void PrintImpedance(const LoadedRecord& record, const ImpedanceRequest& request,
                    std::ostream& out) {
    const LineChannels line = MakeLineChannels(record, request.voltages, request.currents);
    const std::span<const double> x = record.data.xMs;
    CheckHarmonicAnalysis(x, record.cfg.freq, record.cfg.analog[request.voltages[0]].ch_id);
    const Phasor k0 = request.line ? ResidualCompensation(*request.line) : Phasor();
    const std::vector<std::optional<Phasor>> points =
        ImpedanceSeries(x, line, record.cfg.freq, request.loop, k0, 0, x.size());
    out << "sample,time_ms,r,x\n";
    std::string text;
    for (std::size_t i = 0; i < points.size(); ++i) {
        text = std::to_string(i);
        text += ',';
        AppendFixed6(text, x[i]);
        text += ',';
        if (points[i]) {
            AppendFixed6(text, points[i]->real());
            text += ',';
            AppendFixed6(text, points[i]->imag());
        } else {
            text += ',';
        }
        text += '\n';
        out << text;
        CheckWritten(out);
    }
}

}  // namespace faultscope::cli
