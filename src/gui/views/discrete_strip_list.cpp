#include "gui/views/discrete_strip_list.h"

#include "core/record/channel_data.h"
#include "gui/chart/vertical_line.h"
#include "gui/views/discrete_strip.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace faultscope {

bool TDFrameList::TDComparer::operator()(const TDFrame1* left, const TDFrame1* right) const {
    return left->Info().ch_id < right->Info().ch_id;
}

TDFrameList::TDFrameList(QWidget* parent) : StripListArea(parent) {}

void TDFrameList::RemoveStrips() {
    displayList_.clear();
    StackStrips({});
    for (TDFrame1* strip : chtList_) {
        delete strip;
    }
    chtList_.clear();
}

void TDFrameList::AddCharts(std::span<const TDigital> info, faultscope::Axis* botomAxis,
                            int frameHeght) {
    RemoveStrips();
    for (std::size_t i = 0; i < info.size(); ++i) {
        if (!DiscreteHasStrip(info[i])) {
            chtList_.push_back(nullptr);
            continue;
        }
        auto* strip = new TDFrame1(Content());
        strip->setObjectName(QStringLiteral("frmD") + QString::number(i));
        strip->Init(botomAxis);
        strip->SetInfo(info[i]);
        connect(strip, &TDFrame1::chtClick, this, &StripListArea::chtClick);
        strip->SetHeight(frameHeght);
        chtList_.push_back(strip);
    }
    SortDisplayListDefault();
    AfterSort();
    RePainChtList();
}

void TDFrameList::SetColumns(std::span<const DiscreteColumns> columns) {
    if (columns.size() != chtList_.size()) {
        throw std::invalid_argument("Discrete strips and columns differ in number");
    }
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (chtList_[i] != nullptr) {
            chtList_[i]->SetColumns(columns[i]);
        }
    }
}

void TDFrameList::SetCursorTime(double x) {
    for (TDFrame1* strip : displayList_) {
        strip->Cursor()->SetValue(x);
    }
}

void TDFrameList::SortDisplayList() {
    std::ranges::stable_sort(displayList_, TDComparer{});
    AfterSort();
}

void TDFrameList::SortDisplayListDefault() {
    displayList_.clear();
    std::ranges::copy_if(chtList_, std::back_inserter(displayList_),
                         [](const TDFrame1* strip) { return strip != nullptr; });
    AfterSort();
}

void TDFrameList::AfterSort() {
    for (std::size_t i = 0; i < displayList_.size(); ++i) {
        displayList_[i]->SetTag(static_cast<int>(i));
    }
}

void TDFrameList::RePainChtList() {
    const std::vector<QWidget*> strips(displayList_.begin(), displayList_.end());
    StackStrips(strips);
}

}  // namespace faultscope
