#pragma once

#include <span>
#include <string_view>

#include "core/formula/formula_program.h"
#include "core/formula/variant.h"
#include "core/record/record_config.h"
#include "core/record/record_data.h"

namespace faultscope {

// One source of a formula channel: an analog channel's columns and description, or nothing.
// Slot n (counted from 1) gives the formula names Sn, Dn and ANGLEn. The columns must stay where
// they are while a formula reads them.
struct FormulaSlot {
    const AnalogColumns* columns = nullptr;
    const AnalogChannel* info = nullptr;

    [[nodiscard]] bool Empty() const noexcept { return columns == nullptr; }
};

// The formula library: answers one value request of `sender` from the given source slots at the
// sample index held in the sender's tag. Wrong arguments of the library's functions throw
// FormulaBoxError with the text the user is shown; a missing source or sample throws
// FormulaError; a name it does not know leaves `done` false.
void CalcValue(std::span<const FormulaSlot> aChartAr, const FormulaProgram* sender,
               std::string_view identifier, Variant& value, const FormulaArguments& args,
               bool& done);

}  // namespace faultscope
