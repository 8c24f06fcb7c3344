#include "gui/views/time_label_rules.h"

namespace faultscope {

double LeftLinePlace(double snapped, double right, LabelSpan span) noexcept {
    if (snapped < span.start) {
        return span.start;
    }
    if (snapped > span.end) {
        return span.end;
    }
    return snapped > right ? right : snapped;
}

double RightLinePlace(double snapped, double left, LabelSpan span) noexcept {
    if (snapped < span.start) {
        return span.start;
    }
    if (snapped > span.end) {
        return span.end;
    }
    return snapped < left ? left : snapped;
}

std::optional<LabelFieldChange> CoupledField(int constItem, LabelField changed, double min,
                                             double delta, double max) {
    if (constItem < 0 || constItem > 3) {
        throw std::out_of_range(kBadConstMessage);
    }
    const LabelFieldChange newDelta{LabelField::Delta, max - min};
    const LabelFieldChange newMax{LabelField::Max, min + delta};
    const LabelFieldChange newMin{LabelField::Min, max - delta};
    const auto held = [constItem](LabelField field) {
        return constItem == static_cast<int>(field) + 1;
    };
    if (held(changed)) {
        return std::nullopt;
    }
    switch (changed) {
        case LabelField::Min:
            return constItem == 2 ? newMax : newDelta;
        case LabelField::Delta:
            return constItem == 3 ? newMin : newMax;
        case LabelField::Max:
            return constItem == 2 ? newMin : newDelta;
    }
    return std::nullopt;
}

}  // namespace faultscope
