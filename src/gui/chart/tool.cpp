#include "gui/chart/tool.h"

namespace faultscope {

Tool::Tool(QObject* parent) : QObject(parent) {}

void Tool::SetActive(bool active) {
    if (active_ != active) {
        active_ = active;
        emit changed();
    }
}

bool Tool::MousePress(const QPointF& /*pos*/, const PlotGeometry& /*geometry*/) {
    return false;
}

void Tool::MouseMove(const QPointF& /*pos*/, const PlotGeometry& /*geometry*/) {}

void Tool::MouseRelease(const QPointF& /*pos*/, const PlotGeometry& /*geometry*/) {}

std::optional<Qt::CursorShape> Tool::CursorAt(const QPointF& /*pos*/,
                                              const PlotGeometry& /*geometry*/) const {
    return std::nullopt;
}

}  // namespace faultscope
