#pragma once

#include <QStringList>
#include <optional>

#include "core/analysis/fault_location.h"

namespace faultscope {

class IniStore;

// The line a record's fault is located on, as its view template keeps it in the section
// [FaultLocation]: the impedances per km (keys R1, X1, R0, X0, ohms per km), the length (LengthKm)
// and the channels of phases A, B, C of its voltages and currents (Voltages, Currents: three
// channel identifiers joined by ',').
struct FaultLocationSettings {
    static constexpr char kSection[] = "FaultLocation";
    static constexpr char kR1[] = "R1";
    static constexpr char kX1[] = "X1";
    static constexpr char kR0[] = "R0";
    static constexpr char kX0[] = "X0";
    static constexpr char kLengthKm[] = "LengthKm";
    static constexpr char kVoltages[] = "Voltages";
    static constexpr char kCurrents[] = "Currents";

    LineModel line;
    QStringList voltages;
    QStringList currents;

    friend bool operator==(const FaultLocationSettings&, const FaultLocationSettings&) = default;
};

// The settings the template holds; none when it has no such section. Missing numbers read 0, a
// channel list of other than three names reads empty.
[[nodiscard]] std::optional<FaultLocationSettings> ReadFaultLocationSettings(const IniStore& ini);
// Writes the section anew (to the file on the store's next update).
void WriteFaultLocationSettings(IniStore& ini, const FaultLocationSettings& settings);

}  // namespace faultscope
