#include "gui/chart/axis.h"

#include "gui/chart/number_format.h"

#include <algorithm>
#include <cmath>

namespace faultscope {

Axis::Axis(QObject* parent) : QObject(parent) {}

bool Axis::SetMinimum(double value) {
    return SetRange(value, max_);
}

bool Axis::SetMaximum(double value) {
    return SetRange(min_, value);
}

bool Axis::SetRange(double min, double max) {
    if (!std::isfinite(min) || !std::isfinite(max) || min > max) {
        return false;
    }
    if (min != min_ || max != max_) {
        min_ = min;
        max_ = max;
        emit changed();
    }
    return true;
}

void Axis::SetEndOffsets(int minOffset, int maxOffset) {
    minOffset_ = std::max(minOffset, 0);
    maxOffset_ = std::max(maxOffset, 0);
    emit changed();
}

void Axis::SetVisible(bool visible) {
    visible_ = visible;
    emit changed();
}

void Axis::SetLabelsVisible(bool visible) {
    labelsVisible_ = visible;
    emit changed();
}

void Axis::SetGridVisible(bool visible) {
    gridVisible_ = visible;
    emit changed();
}

void Axis::SetLabelInset(int pixels) {
    labelInset_ = std::max(pixels, 0);
    emit changed();
}

void Axis::SetIncrement(double increment) {
    increment_ = std::isfinite(increment) ? std::max(increment, 0.0) : 0.0;
    emit changed();
}

void Axis::SetLabelFormat(const QString& pattern) {
    labelFormat_ = pattern;
    emit changed();
}

QString Axis::FormatValue(double value) const {
    return FormatPicture(value, labelFormat_);
}

double Axis::ValueToPixel(double value, double first, double last) const noexcept {
    return Mapping(first, last)(value);
}

AxisMapping Axis::Mapping(double first, double last) const noexcept {
    const double direction = last >= first ? 1.0 : -1.0;
    const double start = first + direction * minOffset_;
    const double end = last - direction * maxOffset_;
    const double range = max_ - min_;
    return {start, min_, range > 0.0 ? (end - start) / range : 0.0};
}

double Axis::PixelToValue(double pixel, double first, double last) const noexcept {
    const double direction = last >= first ? 1.0 : -1.0;
    const double start = first + direction * minOffset_;
    const double end = last - direction * maxOffset_;
    if (end == start) {
        return min_;
    }
    return min_ + (pixel - start) / (end - start) * (max_ - min_);
}

void Axis::Assign(const Axis& other) {
    min_ = other.min_;
    max_ = other.max_;
    minOffset_ = other.minOffset_;
    maxOffset_ = other.maxOffset_;
    visible_ = other.visible_;
    labelsVisible_ = other.labelsVisible_;
    gridVisible_ = other.gridVisible_;
    labelInset_ = other.labelInset_;
    increment_ = other.increment_;
    labelFormat_ = other.labelFormat_;
    emit changed();
}

}  // namespace faultscope
