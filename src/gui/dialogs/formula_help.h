#pragma once

#include <QString>

namespace faultscope {

// The reference text of the formula language shown beside the function editor, one line per
// name of the library, groups parted by empty lines.
[[nodiscard]] QString FormulaHelpText();

}  // namespace faultscope
