#include "core/analysis/phasor_math.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

#include "core/record/text_fields.h"

namespace faultscope {

PhasorTip ArrowTip(double m, double angleDeg) noexcept {
    const double phi = angleDeg * std::numbers::pi / 180.0;
    return {m * std::cos(phi), m * std::sin(phi)};
}

double LegendAngle(double angleDeg, double baseDeg, bool range180) noexcept {
    double a = angleDeg - baseDeg;
    if (a < 0.0) {
        a += 360.0;
    }
    if (range180 && a > 180.0) {
        a -= 360.0;
    }
    return a;
}

double ShownLegendAngle(double legendAngle, bool range180) noexcept {
    double a = std::round(legendAngle * 100.0) / 100.0;
    if (!range180 && a >= 360.0 && a < 360.01) {
        a -= 360.0;
    }
    if (range180 && a <= -180.0) {
        a += 360.0;
    }
    return a == 0.0 ? 0.0 : a;  // no "-0"
}

LabelSide ArrowLabelSide(double x, double y) noexcept {
    if (x == 0.0) {
        return LabelSide::None;
    }
    double j = std::atan(y / x) * 180.0 / std::numbers::pi;
    if (x < 0.0) {
        j += 180.0;
    }
    if (j >= -45.0 && j <= 45.0) {
        return LabelSide::Right;
    }
    if (j > 45.0 && j < 135.0) {
        return LabelSide::Above;
    }
    if (j >= 135.0 && j <= 225.0) {
        return LabelSide::Left;
    }
    return LabelSide::Below;
}

QuantityKind KindOfUnit(std::string_view unit) noexcept {
    constexpr std::string_view kCurrents[] = {"A", "a", "kA", "KA", "ka", "mA",
                                              "А", "а", "кА", "КА", "ка", "мА"};
    constexpr std::string_view kVoltages[] = {"V", "v", "kV", "KV", "kv", "mV",
                                              "В", "в", "кВ", "КВ", "кв", "мВ"};
    unit = TrimBlanks(unit);
    if (std::ranges::find(kCurrents, unit) != std::end(kCurrents)) {
        return QuantityKind::Current;
    }
    if (std::ranges::find(kVoltages, unit) != std::end(kVoltages)) {
        return QuantityKind::Voltage;
    }
    return QuantityKind::Other;
}

std::optional<double> UnitFactor(std::string_view unit) noexcept {
    if (KindOfUnit(unit) == QuantityKind::Other) {
        return std::nullopt;
    }
    unit = TrimBlanks(unit);
    for (const std::string_view kilo : {"k", "K", "к", "К"}) {
        if (unit.starts_with(kilo)) {
            return 1000.0;
        }
    }
    for (const std::string_view milli : {"m", "м"}) {
        if (unit.starts_with(milli)) {
            return 0.001;
        }
    }
    return 1.0;
}

}  // namespace faultscope
