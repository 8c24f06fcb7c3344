#include "cli/sequence_command.h"

#include <optional>
#include <string>

#include "cli/command_support.h"
#include "core/analysis/harmonic_fill.h"
#include "core/analysis/phasor_walk.h"
#include "core/analysis/sequence_components.h"
#include "core/record/text_fields.h"

namespace faultscope::cli {
namespace {

void CheckOneUnit(const RecordConfig& cfg, const std::array<std::size_t, 3>& channels) {
    for (const std::size_t c : channels) {
        if (TrimBlanks(cfg.analog[c].uu) != TrimBlanks(cfg.analog[channels[0]].uu)) {
            throw UsageError("--channels: the channels' units differ (" +
                             cfg.analog[channels[0]].uu + ", " + cfg.analog[c].uu + ")");
        }
    }
}

void AppendComponent(std::string& line, const std::optional<Phasor>& component) {
    line += ',';
    if (component) {
        AppendFixed6(line, std::abs(*component));
    }
    line += ',';
    AppendAngle(line, component ? PhasorAngle(*component) : kUndefinedAngle);
}

}  // namespace

void PrintSequence(const LoadedRecord& record, const std::array<std::size_t, 3>& channels,
                   std::ostream& out) {
    CheckOneUnit(record.cfg, channels);
    const std::span<const double> x = record.data.xMs;
    const std::string& id = record.cfg.analog[channels[0]].ch_id;
    // Refused before the first line, as `harmonics` refuses.
    CheckHarmonicAnalysis(x, record.cfg.freq, id);
    const std::array<const AnalogColumns*, 3> phases = {&record.data.analog[channels[0]],
                                                        &record.data.analog[channels[1]],
                                                        &record.data.analog[channels[2]]};
    PhasorWalk walk(x, phases, record.cfg.freq, id);
    out << "sample,time_ms,i1,a1,i2,a2,i0,a0\n";
    std::string line;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const auto components =
            SymmetricalComponents(std::span<const std::optional<Phasor>, 3>(walk.At(i)));
        line = std::to_string(i);
        line += ',';
        AppendFixed6(line, x[i]);
        AppendComponent(line, components ? std::optional(components->positive) : std::nullopt);
        AppendComponent(line, components ? std::optional(components->negative) : std::nullopt);
        AppendComponent(line, components ? std::optional(components->zero) : std::nullopt);
        line += '\n';
        out << line;
        CheckWritten(out);
    }
}

}  // namespace faultscope::cli
