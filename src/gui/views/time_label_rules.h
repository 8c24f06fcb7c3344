#pragma once

#include <optional>
#include <stdexcept>

namespace faultscope {

// The time span a label's lines may take: the whole record.
struct LabelSpan {
    double start = 0.0;
    double end = 0.0;
};

// Where the left line goes once moved to `snapped` (already on a sample time): inside the record
// and never right of the right line. Equal values pass, so the lines may coincide.
[[nodiscard]] double LeftLinePlace(double snapped, double right, LabelSpan span) noexcept;
// The same for the right line, never left of the left line.
[[nodiscard]] double RightLinePlace(double snapped, double left, LabelSpan span) noexcept;

// The three fields of the label dialog and which of them is held constant.
enum class LabelField { Min, Delta, Max };

struct LabelFieldChange {
    LabelField field;
    double value;
};

// The rule of the dialog's coupling table: after `changed` took its new value, the field that
// follows and its new value, or nothing. `constItem` is 0 (nothing held), 1 (min), 2 (delta) or
// 3 (max); any other raises std::out_of_range with the dialog's message.
[[nodiscard]] std::optional<LabelFieldChange> CoupledField(int constItem, LabelField changed,
                                                           double min, double delta, double max);

// The message of a constant choice outside 0..3 (only a damaged settings file gives one).
inline constexpr char kBadConstMessage[] = "Недопустимое значение констраныты";

}  // namespace faultscope
