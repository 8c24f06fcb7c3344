#include "gui/views/analog_strip_list.h"

#include "gui/chart/axis.h"
#include "gui/chart/chart.h"
#include "gui/views/analog_strip.h"

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

bool TAFrameList::TDComparer::operator()(const TAFrame1* left, const TAFrame1* right) const {
    return left->Info().ch_id < right->Info().ch_id;
}

TAFrameList::TAFrameList(QWidget* parent) : StripListArea(parent) {}

QString TAFrameList::UniqueStripName(const TAnalog& info) const {
    // A formula channel's number may repeat a record channel's; its strip then takes a suffix.
    const QString base = QStringLiteral("frmA") + QString::number(info.An);
    QString name = base;
    for (int suffix = 2; FindStrip(name) != nullptr; ++suffix) {
        name = base + QLatin1Char('_') + QString::number(suffix);
    }
    return name;
}

TAFrame1* TAFrameList::FindStrip(const QString& name) const {
    const auto it = std::ranges::find_if(
        chtList_, [&name](const TAFrame1* strip) { return strip->objectName() == name; });
    return it != chtList_.end() ? *it : nullptr;
}

void TAFrameList::AddCharts(std::span<const TAnalog> info, faultscope::Axis* botomAxis,
                            double frequency, int frameHeght) {
    for (const TAnalog& channel : info) {
        auto* strip = new TAFrame1(Content());
        strip->setObjectName(UniqueStripName(channel));
        strip->Init(botomAxis, channel, frequency);
        connect(strip, &TAFrame1::chtClick, this, &StripListArea::chtClick);
        strip->SetHeight(frameHeght);
        strip->setVisible(!channel.ReservChanel);
        chtList_.push_back(strip);
    }
    lastBatch_ = info.size();
    SortDisplayListDefault();
    AfterSort();
    RePainChtList();
}

void TAFrameList::SetColumns(std::span<const double> xMs, std::span<const AnalogColumns> columns) {
    if (columns.size() != lastBatch_) {
        throw std::invalid_argument("Analog strips and columns differ in number");
    }
    const std::size_t first = chtList_.size() - lastBatch_;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        chtList_[first + i]->SetColumns(xMs, columns[i]);
    }
}

namespace {

QString UnitOf(const TAFrame1* strip) {
    return QString::fromStdString(strip->Info().uu).trimmed();
}

}  // namespace

void TAFrameList::AfterAllDataLoad() {
    std::optional<ValueRange> all;
    std::map<QString, std::optional<ValueRange>> units;
    for (const TAFrame1* strip : chtList_) {
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

void TAFrameList::SetCommonScale(bool common) {
    if (common == commonScale_) {
        return;
    }
    commonScale_ = common;
    ApplyZooms();
}

const AmplitudeZoom& TAFrameList::ZoomOf(const TAFrame1* strip) const {
    if (commonScale_) {
        return zoom_;
    }
    const auto it = unitZooms_.find(UnitOf(strip));
    return it != unitZooms_.end() ? it->second : zoom_;
}

void TAFrameList::ApplyZooms() {
    for (TAFrame1* strip : chtList_) {
        const AmplitudeZoom& zoom = ZoomOf(strip);
        SetAxisRange(*strip->Cht()->LeftAxis(), zoom.fMin, zoom.fMax);
    }
}

template <typename Step>
void TAFrameList::ZoomAll(Step step) {
    step(zoom_);
    for (auto& [unit, zoom] : unitZooms_) {
        step(zoom);
    }
    ApplyZooms();
}

void TAFrameList::SetCursor(std::ptrdiff_t point) {
    for (TAFrame1* strip : chtList_) {
        strip->SetCursor(point);
    }
}

void TAFrameList::SetYMinMaxCht(double min, double max) {
    for (TAFrame1* strip : chtList_) {
        SetAxisRange(*strip->Cht()->LeftAxis(), min, max);
    }
}

void TAFrameList::YZoomIn() {
    ZoomAll([](AmplitudeZoom& zoom) { zoom.YZoomIn(); });
}

void TAFrameList::YZoomOut() {
    ZoomAll([](AmplitudeZoom& zoom) { zoom.YZoomOut(); });
}

void TAFrameList::YZoomReset() {
    ZoomAll([](AmplitudeZoom& zoom) { zoom.YZoomReset(); });
}

void TAFrameList::SortDisplayList() {
    std::ranges::stable_sort(displayList_, TDComparer{});
    AfterSort();
}

void TAFrameList::SortDisplayListDefault() {
    displayList_ = chtList_;
    AfterSort();
}

void TAFrameList::AfterSort() {
    for (std::size_t i = 0; i < displayList_.size(); ++i) {
        displayList_[i]->SetTag(static_cast<int>(i));
    }
}

void TAFrameList::RePainChtList() {
    const std::vector<QWidget*> strips(displayList_.begin(), displayList_.end());
    StackStrips(strips);
}

}  // namespace faultscope
