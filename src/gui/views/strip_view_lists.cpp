#include "gui/views/strip_view_lists.h"

#include "gui/views/analog_strip.h"
#include "gui/views/discrete_strip.h"

namespace faultscope {

template <class StripList>
std::size_t StripViews<StripList>::Count() const {
    return list_ != nullptr ? list_->ChtList().size() : 0;
}

template <class StripList>
bool StripViews<StripList>::HasStrip(std::size_t index) const {
    return list_->ChtList()[index] != nullptr;
}

template <class StripList>
QString StripViews<StripList>::ChannelName(std::size_t index) const {
    return QString::fromStdString(list_->ChtList()[index]->Info().ch_id);
}

template <class StripList>
bool StripViews<StripList>::Visible(std::size_t index) const {
    return !list_->ChtList()[index]->isHidden();
}

template <class StripList>
void StripViews<StripList>::SetVisibility(const std::vector<bool>& visible) {
    const auto& strips = list_->ChtList();
    for (std::size_t i = 0; i < strips.size() && i < visible.size(); ++i) {
        if (strips[i] != nullptr) {
            strips[i]->setVisible(visible[i]);
        }
    }
    list_->RestackStrips();
}

template class StripViews<AnalogStripList>;
template class StripViews<DiscreteStripList>;

}  // namespace faultscope
