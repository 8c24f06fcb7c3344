#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/record/record_data.h"

namespace faultscope {

// One change of a discrete channel's state after the record's first sample.
struct StateEvent {
    std::size_t sample = 0;   // the first sample in the new state, counted from 0
    std::int32_t timeUs = 0;  // that sample's time on the record's axis
    std::size_t channel = 0;  // the discrete channel, counted from 0
    bool state = false;       // the new state
};

// Every change of state of every discrete channel after the first sample, in time order; changes
// at one time in file order, then in channel order. The state a channel starts in is no change,
// and a spare channel (whose samples are dropped) has none.
[[nodiscard]] std::vector<StateEvent> ListStateEvents(const RecordData& data);

// A discrete channel's state at `sample`: the one its last change at or before it set, else 0.
[[nodiscard]] bool StateAt(const DiscreteColumns& column, std::size_t sample) noexcept;

// Each discrete channel's state at the first sample (0 for a spare channel).
[[nodiscard]] std::vector<bool> FirstStates(const RecordData& data);

}  // namespace faultscope
