#pragma once

#include "core/settings/color_table.h"

#include <QColor>

namespace faultscope {

// The colours of time labels not in use, shared by all record windows of a main window: a new
// label takes the colour released last, and an empty pool is refilled from the label colour
// table.
class LabelColorPool {
  public:
    // `table` is what the pool is refilled from; it must outlive the pool. Without one the default
    // colour table is used.
    explicit LabelColorPool(const ColorTable* table = nullptr) noexcept : table_(table) {}

    // The last free colour, removed from the pool; black (0) when the table is empty.
    [[nodiscard]] Color Take();
    // Puts a label's colour back at the end of the pool.
    void Release(Color color);

  private:
    const ColorTable* table_ = nullptr;
    ColorTable free_;
};

// The screen colour of a stored 0x00BBGGRR value; a system colour (highest byte 255) takes the
// matching colour of the application's palette.
QColor ToQColor(Color color);

}  // namespace faultscope
