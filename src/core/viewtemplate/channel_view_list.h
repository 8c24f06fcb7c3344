#pragma once

#include <QString>
#include <cstddef>
#include <vector>

namespace faultscope {

// What the view sections of a template need of a list of strips: the strips in creation order,
// each with its channel name and visibility. A position may hold no strip (a spare discrete
// channel); such positions are skipped.
class ChannelViewList {
  public:
    virtual ~ChannelViewList() = default;

    [[nodiscard]] virtual std::size_t Count() const = 0;
    [[nodiscard]] virtual bool HasStrip(std::size_t index) const = 0;
    [[nodiscard]] virtual QString ChannelName(std::size_t index) const = 0;
    [[nodiscard]] virtual bool Visible(std::size_t index) const = 0;
    // Shows or hides every strip at once (one layout pass); `visible` has Count() entries.
    virtual void SetVisibility(const std::vector<bool>& visible) = 0;
};

}  // namespace faultscope
