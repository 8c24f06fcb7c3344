#include "cli/command_support.h"

#include <QString>
#include <charconv>
#include <cstdio>

#include "core/analysis/phasor_math.h"
#include "core/record/date_time.h"

namespace faultscope::cli {
namespace {

// The factors of the channels' units, each of `kind`.
std::array<double, 3> Factors(const RecordConfig& cfg, const std::array<std::size_t, 3>& channels,
                              QuantityKind kind, const char* option) {
    std::array<double, 3> factors{};
    for (std::size_t p = 0; p < 3; ++p) {
        const AnalogChannel& c = cfg.analog[channels[p]];
        const std::optional<double> factor = UnitFactor(c.uu);
        if (!factor || KindOfUnit(c.uu) != kind) {
            throw UsageError(std::string(option) + ": the unit of " + c.ch_id + " is \"" + c.uu +
                             "\", not " + (kind == QuantityKind::Voltage ? "V or kV" : "A or kA"));
        }
        factors[p] = *factor;
    }
    return factors;
}

}  // namespace

void CheckWritten(std::ostream& out) {
    if (!out) {
        throw OutputError();
    }
}

void AppendFixed6(std::string& line, double v) {
    char buf[400];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
    if (ec == std::errc()) {
        line.append(buf, end);
    } else {
        line += ShortestNumber(v);
    }
}

void AppendAngle(std::string& line, double angle) {
    constexpr std::string_view kFull = "360.000000";
    const std::size_t start = line.size();
    AppendFixed6(line, angle);
    if (angle >= 0.0 && angle < 360.0 && std::string_view(line).substr(start) == kFull) {
        line.replace(start, kFull.size(), "0.000000");
    }
}

std::string IsoMicroseconds(std::int64_t us) {
    const DateTime t = DateTime::FromMicroseconds(us);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d%03d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second, t.millisecond, t.microsecond);
    return buf;
}

std::optional<std::size_t> FindChannel(const RecordConfig& cfg, const std::string& id) {
    const auto& chans = cfg.analog;
    for (std::size_t i = 0; i < chans.size(); ++i) {
        if (chans[i].ch_id == id) {
            return i;
        }
    }
    const QString wanted = QString::fromStdString(id).trimmed();
    for (std::size_t i = 0; i < chans.size(); ++i) {
        if (QString::fromStdString(chans[i].ch_id).trimmed() == wanted) {
            return i;
        }
    }
    std::uint32_t number = 0;
    const auto [end, ec] = std::from_chars(id.data(), id.data() + id.size(), number);
    if (ec == std::errc() && end == id.data() + id.size()) {
        for (std::size_t i = 0; i < chans.size(); ++i) {
            if (chans[i].An == number) {
                return i;
            }
        }
    }
    return std::nullopt;
}

std::array<std::size_t, 3> FindPhaseChannels(const RecordConfig& cfg, const std::string& option,
                                             const std::vector<std::string>& ids) {
    if (ids.size() != 3) {
        throw UsageError(option + " needs three channels, of phases A, B and C");
    }
    std::array<std::size_t, 3> channels{};
    for (std::size_t p = 0; p < 3; ++p) {
        const std::optional<std::size_t> found = FindChannel(cfg, ids[p]);
        if (!found) {
            throw UsageError("the record has no analog channel " + ids[p]);
        }
        channels[p] = *found;
    }
    return channels;
}

LineChannels MakeLineChannels(const LoadedRecord& record,
                              const std::array<std::size_t, 3>& voltages,
                              const std::array<std::size_t, 3>& currents) {
    LineChannels line;
    for (std::size_t p = 0; p < 3; ++p) {
        line.voltages[p] = &record.data.analog[voltages[p]];
        line.currents[p] = &record.data.analog[currents[p]];
    }
    line.voltageFactors = Factors(record.cfg, voltages, QuantityKind::Voltage, "--voltages");
    line.currentFactors = Factors(record.cfg, currents, QuantityKind::Current, "--currents");
    return line;
}

}  // namespace faultscope::cli
