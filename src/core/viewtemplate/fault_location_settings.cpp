#include "core/viewtemplate/fault_location_settings.h"

#include "core/settings/ini_store.h"

namespace faultscope {

using Keys = FaultLocationSettings;
namespace {

QStringList ReadTriple(const IniStore& ini, const char* key) {
    const QStringList names =
        ini.ReadString(FaultLocationSettings::kSection, key).split(u',', Qt::KeepEmptyParts);
    return names.size() == 3 ? names : QStringList();
}

}  // namespace

std::optional<FaultLocationSettings> ReadFaultLocationSettings(const IniStore& ini) {
    const QString section = FaultLocationSettings::kSection;
    if (!ini.SectionExists(section)) {
        return std::nullopt;
    }
    FaultLocationSettings settings;
    settings.line.perKm.z1 = {ini.ReadFloat(section, Keys::kR1, 0.0),
                              ini.ReadFloat(section, Keys::kX1, 0.0)};
    settings.line.perKm.z0 = {ini.ReadFloat(section, Keys::kR0, 0.0),
                              ini.ReadFloat(section, Keys::kX0, 0.0)};
    settings.line.lengthKm = ini.ReadFloat(section, Keys::kLengthKm, 0.0);
    settings.voltages = ReadTriple(ini, Keys::kVoltages);
    settings.currents = ReadTriple(ini, Keys::kCurrents);
    return settings;
}

void WriteFaultLocationSettings(IniStore& ini, const FaultLocationSettings& settings) {
    const QString section = FaultLocationSettings::kSection;
    ini.EraseSection(section);
    ini.WriteFloat(section, Keys::kR1, settings.line.perKm.z1.real());
    ini.WriteFloat(section, Keys::kX1, settings.line.perKm.z1.imag());
    ini.WriteFloat(section, Keys::kR0, settings.line.perKm.z0.real());
    ini.WriteFloat(section, Keys::kX0, settings.line.perKm.z0.imag());
    ini.WriteFloat(section, Keys::kLengthKm, settings.line.lengthKm);
    ini.WriteString(section, Keys::kVoltages, settings.voltages.join(u','));
    ini.WriteString(section, Keys::kCurrents, settings.currents.join(u','));
}

}  // namespace faultscope
