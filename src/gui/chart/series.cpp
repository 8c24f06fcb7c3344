#include "gui/chart/series.h"

#include <algorithm>

namespace faultscope {

Series::Series(QObject* parent) : QObject(parent) {}

void Series::SetActive(bool active) {
    if (active_ != active) {
        active_ = active;
        emit changed();
    }
}

void Series::SetColor(const QColor& color) {
    color_ = color;
    emit changed();
}

void Series::SetWidth(int width) {
    width_ = std::max(width, 1);
    emit changed();
}

}  // namespace faultscope
