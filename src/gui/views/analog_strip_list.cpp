#include "gui/views/analog_strip_list.h"

#include "gui/chart/axis.h"
#include "gui/chart/chart.h"
#include "gui/views/analog_strip.h"
#include "gui/views/strip_zoom_gestures.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace faultscope {
namespace {

// The axis refuses a minimum above its maximum, so the bound that keeps order goes first.
void SetAxisRange(Axis& axis, double min, double max) {
    if (min <= axis.Maximum()) {
        axis.SetMinimum(min);
        axis.SetMaximum(max);
    } else {
        axis.SetMaximum(max);
        axis.SetMinimum(min);
    }
}

}  // namespace

bool AnalogStripList::DisplayOrderLess::operator()(const AnalogStrip* left,
                                                   const AnalogStrip* right) const {
    return left->Info().ch_id < right->Info().ch_id;
}

AnalogStripList::AnalogStripList(QWidget* parent) : StripListArea(parent) {
    connect(Gestures(), &StripZoomGestures::valueWheel, this, [this](Chart* cht, int steps) {
        const auto it = std::ranges::find(chtList_, cht, &AnalogStrip::Cht);
        if (it != chtList_.end()) {
            YZoomStrip(**it, steps);
        }
    });
}

QString AnalogStripList::UniqueStripName(const AnalogChannel& info) const {
    // A formula channel's number may repeat a record channel's; its strip then takes a suffix.
    const QString base = QStringLiteral("frmA") + QString::number(info.An);
    QString name = base;
    for (int suffix = 2; FindStrip(name) != nullptr; ++suffix) {
        name = base + QLatin1Char('_') + QString::number(suffix);
    }
    return name;
}

AnalogStrip* AnalogStripList::FindStrip(const QString& name) const {
    const auto it = std::ranges::find_if(
        chtList_, [&name](const AnalogStrip* strip) { return strip->objectName() == name; });
    return it != chtList_.end() ? *it : nullptr;
}

void AnalogStripList::AddCharts(std::span<const AnalogChannel> info, faultscope::Axis* bottomAxis,
                                double frequency, int frameHeight) {
    for (const AnalogChannel& channel : info) {
        auto* strip = new AnalogStrip(Content());
        strip->setObjectName(UniqueStripName(channel));
        strip->Init(bottomAxis, channel, frequency);
        connect(strip, &AnalogStrip::chtClick, this, &StripListArea::chtClick);
        WatchChart(strip->Cht());
        strip->SetHeight(frameHeight);
        strip->setVisible(!channel.ReserveChannel);
        chtList_.push_back(strip);
    }
    lastBatch_ = info.size();
    if (!layoutHeld_) {
        SortDisplayListDefault();
        RestackStrips();
    }
}

void AnalogStripList::HoldLayout(bool hold) {
    if (layoutHeld_ && !hold) {
        SortDisplayListDefault();
        RestackStrips();
    }
    layoutHeld_ = hold;
}

void AnalogStripList::SetColumns(std::span<const double> xMs,
                                 std::span<const AnalogColumns> columns) {
    if (columns.size() != lastBatch_) {
        throw std::invalid_argument("Analog strips and columns differ in number");
    }
    const std::size_t first = chtList_.size() - lastBatch_;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        chtList_[first + i]->SetColumns(xMs, columns[i]);
    }
}

namespace {

QString UnitOf(const AnalogStrip* strip) {
    return QString::fromStdString(strip->Info().uu).trimmed();
}

}  // namespace

void AnalogStripList::AfterAllDataLoad() {
    std::optional<ValueRange> all;
    std::map<QString, std::optional<ValueRange>> units;
    for (const AnalogStrip* strip : chtList_) {
        std::optional<ValueRange>& unitRange = units[UnitOf(strip)];
        if (const AnalogColumns* columns = strip->Columns(); columns != nullptr) {
            const std::optional<ValueRange> range = ChannelValueRange(*columns);
            Widen(all, range);
            Widen(unitRange, range);
        }
    }
    zoom_.Reset(all.value_or(ValueRange{}));
    unitZooms_.clear();
    for (const auto& [unit, range] : units) {
        unitZooms_[unit].Reset(range.value_or(ValueRange{}));
    }
    ApplyZooms();
}

void AnalogStripList::SetCommonScale(bool common) {
    if (common == commonScale_) {
        return;
    }
    commonScale_ = common;
    ApplyZooms();
}

const AmplitudeZoom& AnalogStripList::ZoomOf(const AnalogStrip* strip) const {
    if (commonScale_) {
        return zoom_;
    }
    const auto it = unitZooms_.find(UnitOf(strip));
    return it != unitZooms_.end() ? it->second : zoom_;
}

void AnalogStripList::ApplyZooms() {
    for (AnalogStrip* strip : chtList_) {
        ApplyZoom(*strip);
    }
}

template <typename Step>
void AnalogStripList::ZoomAll(Step step) {
    step(zoom_);
    for (auto& [unit, zoom] : unitZooms_) {
        step(zoom);
    }
    ApplyZooms();
}

void AnalogStripList::SetCursor(std::ptrdiff_t point) {
    for (AnalogStrip* strip : chtList_) {
        strip->SetCursor(point);
    }
}

void AnalogStripList::SetYMinMaxCht(double min, double max) {
    for (AnalogStrip* strip : chtList_) {
        SetAxisRange(*strip->Cht()->LeftAxis(), min, max);
    }
}

void AnalogStripList::ApplyZoom(AnalogStrip& strip) {
    const AmplitudeZoom& zoom = ZoomOf(&strip);
    SetAxisRange(*strip.Cht()->LeftAxis(), zoom.min, zoom.max);
}

void AnalogStripList::YZoomIn() {
    ZoomAll([](AmplitudeZoom& zoom) { zoom.YZoomIn(); });
}

void AnalogStripList::YZoomOut() {
    ZoomAll([](AmplitudeZoom& zoom) { zoom.YZoomOut(); });
}

void AnalogStripList::YZoomReset() {
    ZoomAll([](AmplitudeZoom& zoom) { zoom.YZoomReset(); });
}

void AnalogStripList::YZoomStrip(AnalogStrip& strip, int steps) {
    Axis& axis = *strip.Cht()->LeftAxis();
    AmplitudeZoom zoom = ZoomOf(&strip);
    zoom.min = axis.Minimum();
    zoom.max = axis.Maximum();
    zoom.YZoomSteps(steps);
    SetAxisRange(axis, zoom.min, zoom.max);
}

void AnalogStripList::SortDisplayList() {
    std::ranges::stable_sort(displayList_, DisplayOrderLess{});
    AfterSort();
}

void AnalogStripList::SortDisplayListDefault() {
    displayList_ = chtList_;
    AfterSort();
}

void AnalogStripList::AfterSort() {
    for (std::size_t i = 0; i < displayList_.size(); ++i) {
        displayList_[i]->SetTag(static_cast<int>(i));
    }
}

void AnalogStripList::RestackStrips() {
    const std::vector<QWidget*> strips(displayList_.begin(), displayList_.end());
    StackStrips(strips);
}

}  // namespace faultscope
