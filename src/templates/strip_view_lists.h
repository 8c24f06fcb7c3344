#pragma once

#include <QPointer>

#include "templates/channel_view_list.h"
#include "views/analog_strip_list.h"
#include "views/discrete_strip_list.h"

namespace faultscope {

// The analog strips of a record as the view sections see them: ChtList order, a strip's
// visibility its own visible flag.
class AnalogStripViews : public ChannelViewList {
  public:
    explicit AnalogStripViews(TAFrameList* list) : list_(list) {}

    [[nodiscard]] std::size_t Count() const override;
    [[nodiscard]] bool HasStrip(std::size_t index) const override;
    [[nodiscard]] QString ChannelName(std::size_t index) const override;
    [[nodiscard]] bool Visible(std::size_t index) const override;
    void SetVisibility(const std::vector<bool>& visible) override;

  private:
    QPointer<TAFrameList> list_;
};

// The discrete strips likewise; a spare channel's position holds no strip.
class DiscreteStripViews : public ChannelViewList {
  public:
    explicit DiscreteStripViews(TDFrameList* list) : list_(list) {}

    [[nodiscard]] std::size_t Count() const override;
    [[nodiscard]] bool HasStrip(std::size_t index) const override;
    [[nodiscard]] QString ChannelName(std::size_t index) const override;
    [[nodiscard]] bool Visible(std::size_t index) const override;
    void SetVisibility(const std::vector<bool>& visible) override;

  private:
    QPointer<TDFrameList> list_;
};

}  // namespace faultscope
