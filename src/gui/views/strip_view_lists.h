#pragma once

#include <QPointer>

#include "core/viewtemplate/channel_view_list.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/discrete_strip_list.h"

namespace faultscope {

// The strips of one of a record's strip lists as the view sections see them: ChtList order, a
// strip's visibility its own visible flag; a position without a strip (a spare discrete channel)
// holds none. A list that is gone counts no strips.
template <class StripList>
class StripViews : public ChannelViewList {
  public:
    explicit StripViews(StripList* list) : list_(list) {}

    [[nodiscard]] std::size_t Count() const override;
    [[nodiscard]] bool HasStrip(std::size_t index) const override;
    [[nodiscard]] QString ChannelName(std::size_t index) const override;
    [[nodiscard]] bool Visible(std::size_t index) const override;
    void SetVisibility(const std::vector<bool>& visible) override;

  private:
    QPointer<StripList> list_;
};

extern template class StripViews<AnalogStripList>;
extern template class StripViews<DiscreteStripList>;

class AnalogStripViews final : public StripViews<AnalogStripList> {
  public:
    using StripViews::StripViews;
};

class DiscreteStripViews final : public StripViews<DiscreteStripList> {
  public:
    using StripViews::StripViews;
};

}  // namespace faultscope
