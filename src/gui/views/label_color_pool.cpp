#include "gui/views/label_color_pool.h"

#include <QApplication>
#include <QPalette>
#include <array>

namespace faultscope {
namespace {

// The system colour indices of the 8-bit colour values, mapped onto the nearest palette roles.
QPalette::ColorRole SystemRole(unsigned index) noexcept {
    constexpr std::array<QPalette::ColorRole, 31> kRoles = {
        QPalette::Window,
        QPalette::Window,
        QPalette::Highlight,
        QPalette::Mid,
        QPalette::Window,
        QPalette::Base,
        QPalette::Shadow,
        QPalette::Text,
        QPalette::WindowText,
        QPalette::HighlightedText,
        QPalette::Mid,
        QPalette::Mid,
        QPalette::Dark,
        QPalette::Highlight,
        QPalette::HighlightedText,
        QPalette::Button,
        QPalette::Dark,
        QPalette::PlaceholderText,
        QPalette::ButtonText,
        QPalette::Mid,
        QPalette::Light,
        QPalette::Shadow,
        QPalette::Midlight,
        QPalette::ToolTipText,
        QPalette::ToolTipBase,
        QPalette::Window,
        QPalette::Link,
        QPalette::Highlight,
        QPalette::Highlight,
        QPalette::Highlight,
        QPalette::Window,
    };
    return index < kRoles.size() ? kRoles[index] : QPalette::Window;
}

}  // namespace

Color LabelColorPool::Take() {
    if (free_.empty()) {
        free_ = table_ != nullptr ? *table_ : DefaultColorTable();
    }
    if (free_.empty()) {
        return 0;
    }
    const Color color = free_.back();
    free_.pop_back();
    return color;
}

void LabelColorPool::Release(Color color) {
    free_.push_back(color);
}

QColor ToQColor(Color color) {
    if ((color >> 24U) == 0xFFU) {
        return QApplication::palette().color(SystemRole(color & 0xFFU));
    }
    return QColor(static_cast<int>(color & 0xFFU), static_cast<int>((color >> 8U) & 0xFFU),
                  static_cast<int>((color >> 16U) & 0xFFU));
}

}  // namespace faultscope
