#include "gui/views/time_lable_rules.h"

namespace faultscope {

double LeftLinePlace(double snapped, double right, LableSpan span) noexcept {
    if (snapped < span.start) {
        return span.start;
    }
    if (snapped > span.end) {
        return span.end;
    }
    return snapped > right ? right : snapped;
}

double RightLinePlace(double snapped, double left, LableSpan span) noexcept {
    if (snapped < span.start) {
        return span.start;
    }
    if (snapped > span.end) {
        return span.end;
    }
    return snapped < left ? left : snapped;
}

std::optional<LableFieldChange> CoupledField(int constItem, LableField changed, double min,
                                             double delta, double max) {
    if (constItem < 0 || constItem > 3) {
        throw std::out_of_range(kBadConstMessage);
    }
    const LableFieldChange newDelta{LableField::Delta, max - min};
    const LableFieldChange newMax{LableField::Max, min + delta};
    const LableFieldChange newMin{LableField::Min, max - delta};
    const auto held = [constItem](LableField field) {
        return constItem == static_cast<int>(field) + 1;
    };
    if (held(changed)) {
        return std::nullopt;
    }
    switch (changed) {
        case LableField::Min:
            return constItem == 2 ? newMax : newDelta;
        case LableField::Delta:
            return constItem == 3 ? newMin : newMax;
        case LableField::Max:
            return constItem == 2 ? newMin : newDelta;
    }
    return std::nullopt;
}

}  // namespace faultscope
