#pragma once

#include <functional>

class QWidget;

namespace faultscope {

// Makes the copy keys (Ctrl+C, Ctrl+Insert) in `widget` or any of its children run `copy`,
// ahead of a child's own copying (a table copies its current cell only).
void OnCopyKeys(QWidget& widget, std::function<void()> copy);

}  // namespace faultscope
