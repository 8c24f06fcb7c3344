#include "gui/views/label_color_pool.h"

#include <QApplication>
#include <QPalette>
#include <array>

namespace faultscope {
namespace {

struct PoolState {
    const ColorTable* table = nullptr;
    ColorTable free;
};

PoolState& State() noexcept {
    static PoolState state;
    return state;
}

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

void LabelColorPool::SetTable(const ColorTable* table) noexcept {
    State().table = table;
}

Color LabelColorPool::Take() {
    PoolState& state = State();
    if (state.free.empty()) {
        state.free = state.table != nullptr ? *state.table : DefaultColorTable();
    }
    if (state.free.empty()) {
        return 0;
    }
    const Color color = state.free.back();
    state.free.pop_back();
    return color;
}

void LabelColorPool::Release(Color color) {
    State().free.push_back(color);
}

void LabelColorPool::Clear() noexcept {
    State().free.clear();
}
QColor ToQColor(Color color) {
    if ((color >> 24U) == 0xFFU) {
        return QApplication::palette().color(SystemRole(color & 0xFFU));
    }
    return QColor(static_cast<int>(color & 0xFFU), static_cast<int>((color >> 8U) & 0xFFU),
                  static_cast<int>((color >> 16U) & 0xFFU));
}

}  // namespace faultscope
