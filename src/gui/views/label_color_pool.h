#pragma once

#include "core/settings/color_table.h"

#include <QColor>

namespace faultscope {

// The colours of time labels not in use, shared by all record windows of the process: a new label
// takes the colour released last, and an empty pool is refilled from the label colour table.
class LabelColorPool {
  public:
    // The table the pool is refilled from; it must outlive its use. Without one (or with null)
    // the default colour table is used.
    static void SetTable(const ColorTable* table) noexcept;

    // The last free colour, removed from the pool; black (0) when the table is empty.
    static Color Take();
    // Puts a label's colour back at the end of the pool.
    static void Release(Color color);
    // Forgets every free colour (at exit, and between tests).
    static void Clear() noexcept;
};

// The screen colour of a stored 0x00BBGGRR value; a system colour (highest byte 255) takes the
// matching colour of the application's palette.
QColor ToQColor(Color color);

}  // namespace faultscope
