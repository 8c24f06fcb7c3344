#include "core/viewtemplate/fault_location_settings.h"

#include "core/settings/ini_store.h"

namespace faultscope {
namespace {

constexpr char kR1[] = "R1";
constexpr char kX1[] = "X1";
constexpr char kR0[] = "R0";
constexpr char kX0[] = "X0";
constexpr char kLengthKm[] = "LengthKm";
constexpr char kVoltages[] = "Voltages";
constexpr char kCurrents[] = "Currents";

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
    settings.line.perKm.z1 = {ini.ReadFloat(section, kR1, 0.0), ini.ReadFloat(section, kX1, 0.0)};
    settings.line.perKm.z0 = {ini.ReadFloat(section, kR0, 0.0), ini.ReadFloat(section, kX0, 0.0)};
    settings.line.lengthKm = ini.ReadFloat(section, kLengthKm, 0.0);
    settings.voltages = ReadTriple(ini, kVoltages);
    settings.currents = ReadTriple(ini, kCurrents);
    return settings;
}

void WriteFaultLocationSettings(IniStore& ini, const FaultLocationSettings& settings) {
    const QString section = FaultLocationSettings::kSection;
    ini.EraseSection(section);
    ini.WriteFloat(section, kR1, settings.line.perKm.z1.real());
    ini.WriteFloat(section, kX1, settings.line.perKm.z1.imag());
    ini.WriteFloat(section, kR0, settings.line.perKm.z0.real());
    ini.WriteFloat(section, kX0, settings.line.perKm.z0.imag());
    ini.WriteFloat(section, kLengthKm, settings.line.lengthKm);
    ini.WriteString(section, kVoltages, settings.voltages.join(u','));
    ini.WriteString(section, kCurrents, settings.currents.join(u','));
}

}  // namespace faultscope
