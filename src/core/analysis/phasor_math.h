#pragma once

#include <optional>
#include <string_view>

namespace faultscope {

// What a channel measures, by its unit: phasors of one kind share a scale on the diagram.
enum class QuantityKind { Current, Voltage, Other };

// "A", "kA", "А", "кА" are currents; "V", "kV", "В", "кВ" voltages (any letter case, blanks
// around ignored); anything else is another kind.
[[nodiscard]] QuantityKind KindOfUnit(std::string_view unit) noexcept;

// The factor that turns a value in a current's or a voltage's unit into amperes or volts: 1000
// for kA and kV, 0.001 for mA and mV, 1 for A and V (the units KindOfUnit knows); nothing for
// any other unit.
[[nodiscard]] std::optional<double> UnitFactor(std::string_view unit) noexcept;

// A phasor's tip on the diagram plane: length m at `angleDeg` degrees counter-clockwise from the
// positive horizontal axis.
struct PhasorTip {
    double x = 0.0;
    double y = 0.0;
};

[[nodiscard]] PhasorTip ArrowTip(double m, double angleDeg) noexcept;

// The angle a legend shows for a channel at `angleDeg` against a base at `baseDeg`: in
// [0, 360), or in (-180, 180] when `range180`. Angles are taken as they are stored (0..360, or
// 65535 for an undefined one).
[[nodiscard]] double LegendAngle(double angleDeg, double baseDeg, bool range180) noexcept;

// The legend angle rounded to two decimals as it is shown, kept inside its range: 359.999 reads
// 0, not 360, and -179.999 reads 180 in the -180..180 range.
[[nodiscard]] double ShownLegendAngle(double legendAngle, bool range180) noexcept;

// Where a phasor's label stands beside its tip, by the direction of the tip from the centre.
enum class LabelSide { None, Right, Above, Left, Below };

// None for a tip on the vertical axis (x = 0), whose direction the rule leaves open.
[[nodiscard]] LabelSide ArrowLabelSide(double x, double y) noexcept;

}  // namespace faultscope
