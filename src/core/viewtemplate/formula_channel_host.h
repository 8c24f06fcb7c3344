#pragma once

#include <cstddef>
#include <string_view>

#include "core/formula/formula_library.h"
#include "core/record/record_config.h"
#include "core/record/record_data.h"

namespace faultscope {

// What a formula channel needs of the record it is built in: the analog channels to read from,
// a new channel to fill, and the harmonic analysis of what was filled. The document of an open
// record is one; the command-line tool has another.
class FormulaChannelHost {
  public:
    virtual ~FormulaChannelHost() = default;

    // The number of analog channels, formula channels included (a new channel gets this + 1).
    [[nodiscard]] virtual std::size_t ChannelCount() const = 0;
    // The samples every channel has.
    [[nodiscard]] virtual std::size_t SampleCount() const = 0;
    // The first analog channel, formula channels included, whose identifier is exactly `name`;
    // an empty slot when there is none. Its columns stay where they are while the record is open.
    [[nodiscard]] virtual FormulaSlot FindChartByName(std::string_view name) const = 0;
    // Appends a new analog channel described by `info` with empty columns and returns them; null
    // when no channel could be made. The columns never move afterwards.
    virtual AnalogColumns* AddNewCht(const AnalogChannel& info) = 0;
    // Computes the harmonic columns of a new channel from its values.
    virtual void AfterAllDataLoad(AnalogColumns& columns) = 0;
    // The new channel's columns are complete: show them.
    virtual void ChannelFilled(AnalogColumns& columns) = 0;
    // The new channel could not be computed: it goes, and nothing may keep its columns.
    virtual void ChannelFailed(AnalogColumns& columns) = 0;
};

}  // namespace faultscope
