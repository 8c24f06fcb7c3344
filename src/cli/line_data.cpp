#include "cli/line_data.h"

#include <QStringList>
#include <cmath>
#include <limits>

#include "cli/command_support.h"
#include "core/analysis/phasor_math.h"
#include "core/settings/ini_store.h"
#include "core/viewtemplate/fault_location_settings.h"

namespace faultscope::cli {
namespace {

using Keys = FaultLocationSettings;

// Where the messages say the data lies.
const std::string kWhere = std::string("В разделе [") + kLineDataSection + "] файла вида ";

double ReadNumber(const IniStore& ini, const char* key) {
    const double value =
        ini.ReadFloat(kLineDataSection, key, std::numeric_limits<double>::quiet_NaN());
    if (!std::isfinite(value)) {
        throw LineDataError(kWhere + "нет числа " + key);
    }
    return value;
}

std::array<std::string, 3> ReadChannelList(const IniStore& ini, const char* key) {
    const QStringList ids = ini.ReadString(kLineDataSection, key).split(u',');
    if (ids.size() != 3) {
        throw LineDataError(kWhere + key + " должен называть три канала через запятую");
    }
    return {ids[0].toStdString(), ids[1].toStdString(), ids[2].toStdString()};
}

// The channels of one list and the factors of their units, each of `kind`.
void FindListedChannels(const RecordConfig& cfg, const RecordData& data,
                        const std::array<std::string, 3>& ids, QuantityKind kind,
                        std::array<const AnalogColumns*, 3>& channels,
                        std::array<double, 3>& factors) {
    for (std::size_t p = 0; p < 3; ++p) {
        const std::optional<std::size_t> found = FindChannel(cfg, ids[p]);
        if (!found || *found >= data.analog.size()) {
            throw LineDataError(kWhere + "назван канал " + ids[p] +
                                ", которого нет в осциллограмме");
        }
        const AnalogChannel& info = cfg.analog[*found];
        const std::optional<double> factor = UnitFactor(info.uu);
        if (!factor || KindOfUnit(info.uu) != kind) {
            throw LineDataError("Канал " + info.ch_id + " измеряет не " +
                                (kind == QuantityKind::Voltage ? "напряжение" : "ток") +
                                " (единица \"" + info.uu + "\")");
        }
        channels[p] = &data.analog[*found];
        factors[p] = *factor;
    }
}

}  // namespace

std::optional<LineData> ReadLineData(const IniStore& ini) {
    if (!ini.SectionExists(kLineDataSection)) {
        return std::nullopt;
    }
    LineData data;
    data.line.perKm.z1 = {ReadNumber(ini, Keys::kR1), ReadNumber(ini, Keys::kX1)};
    data.line.perKm.z0 = {ReadNumber(ini, Keys::kR0), ReadNumber(ini, Keys::kX0)};
    data.line.lengthKm = ReadNumber(ini, Keys::kLengthKm);
    if (data.line.perKm.z1.imag() == 0.0 || !(data.line.lengthKm > 0.0)) {
        throw LineDataError(kWhere + "X1 не должно быть нулём, а LengthKm должно быть больше нуля");
    }
    data.voltages = ReadChannelList(ini, Keys::kVoltages);
    data.currents = ReadChannelList(ini, Keys::kCurrents);
    return data;
}

LineChannels FindLineChannels(const LoadedRecord& record, const LineData& data) {
    LineChannels line;
    FindListedChannels(record.cfg, record.data, data.voltages, QuantityKind::Voltage, line.voltages,
                       line.voltageFactors);
    FindListedChannels(record.cfg, record.data, data.currents, QuantityKind::Current, line.currents,
                       line.currentFactors);
    return line;
}

}  // namespace faultscope::cli
