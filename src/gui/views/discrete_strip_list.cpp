#include "gui/views/discrete_strip_list.h"

#include "core/record/channel_data.h"
#include "gui/chart/vertical_line.h"
#include "gui/views/discrete_strip.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace faultscope {

bool DiscreteStripList::DisplayOrderLess::operator()(const DiscreteStrip* left,
                                                     const DiscreteStrip* right) const {
    return left->Info().ch_id < right->Info().ch_id;
}

DiscreteStripList::DiscreteStripList(QWidget* parent) : StripListArea(parent) {}

void DiscreteStripList::RemoveStrips() {
    displayList_.clear();
    StackStrips({});
    for (DiscreteStrip* strip : chtList_) {
        delete strip;
    }
    chtList_.clear();
}

void DiscreteStripList::AddCharts(std::span<const DigitalChannel> info,
                                  faultscope::Axis* bottomAxis, int frameHeight) {
    RemoveStrips();
    for (std::size_t i = 0; i < info.size(); ++i) {
        if (!DiscreteHasStrip(info[i])) {
            chtList_.push_back(nullptr);
            continue;
        }
        auto* strip = new DiscreteStrip(Content());
        strip->setObjectName(QStringLiteral("frmD") + QString::number(i));
        strip->Init(bottomAxis);
        strip->SetInfo(info[i]);
        connect(strip, &DiscreteStrip::chtClick, this, &StripListArea::chtClick);
        WatchChart(strip->Cht());
        strip->SetHeight(frameHeight);
        chtList_.push_back(strip);
    }
    SortDisplayListDefault();
    AfterSort();
    RestackStrips();
}

void DiscreteStripList::SetColumns(std::span<const DiscreteColumns> columns) {
    if (columns.size() != chtList_.size()) {
        throw std::invalid_argument("Discrete strips and columns differ in number");
    }
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (chtList_[i] != nullptr) {
            chtList_[i]->SetColumns(columns[i]);
        }
    }
}

void DiscreteStripList::SetCursorTime(double x) {
    for (DiscreteStrip* strip : displayList_) {
        strip->Cursor()->SetValue(x);
    }
}

void DiscreteStripList::SortDisplayList() {
    std::ranges::stable_sort(displayList_, DisplayOrderLess{});
    AfterSort();
}

void DiscreteStripList::SortDisplayListDefault() {
    displayList_.clear();
    std::ranges::copy_if(chtList_, std::back_inserter(displayList_),
                         [](const DiscreteStrip* strip) { return strip != nullptr; });
    AfterSort();
}

void DiscreteStripList::AfterSort() {
    for (std::size_t i = 0; i < displayList_.size(); ++i) {
        displayList_[i]->SetTag(static_cast<int>(i));
    }
}

void DiscreteStripList::RestackStrips() {
    const std::vector<QWidget*> strips(displayList_.begin(), displayList_.end());
    StackStrips(strips);
}

}  // namespace faultscope
