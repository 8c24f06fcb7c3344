#include "templates/strip_view_lists.h"

#include "views/analog_strip.h"
#include "views/discrete_strip.h"

namespace faultscope {

std::size_t AnalogStripViews::Count() const {
    return list_ != nullptr ? list_->ChtList().size() : 0;
}

bool AnalogStripViews::HasStrip(std::size_t index) const {
    return list_->ChtList()[index] != nullptr;
}

QString AnalogStripViews::ChannelName(std::size_t index) const {
    return QString::fromStdString(list_->ChtList()[index]->Info().ch_id);
}

bool AnalogStripViews::Visible(std::size_t index) const {
    return !list_->ChtList()[index]->isHidden();
}

void AnalogStripViews::SetVisibility(const std::vector<bool>& visible) {
    const auto& strips = list_->ChtList();
    for (std::size_t i = 0; i < strips.size() && i < visible.size(); ++i) {
        strips[i]->setVisible(visible[i]);
    }
    list_->RePainChtList();
}

std::size_t DiscreteStripViews::Count() const {
    return list_ != nullptr ? list_->ChtList().size() : 0;
}

bool DiscreteStripViews::HasStrip(std::size_t index) const {
    return list_->ChtList()[index] != nullptr;
}

QString DiscreteStripViews::ChannelName(std::size_t index) const {
    return QString::fromStdString(list_->ChtList()[index]->Info().ch_id);
}

bool DiscreteStripViews::Visible(std::size_t index) const {
    return !list_->ChtList()[index]->isHidden();
}

void DiscreteStripViews::SetVisibility(const std::vector<bool>& visible) {
    const auto& strips = list_->ChtList();
    for (std::size_t i = 0; i < strips.size() && i < visible.size(); ++i) {
        if (strips[i] != nullptr) {
            strips[i]->setVisible(visible[i]);
        }
    }
    list_->RePainChtList();
}

}  // namespace faultscope
