#include "core/record/state_events.h"

#include <algorithm>

namespace faultscope {
namespace {

// The state a change sets: the second of its pair of points.
bool StateAfterChange(const DiscreteColumns& column, std::size_t change) {
    return column.state[2 * change + 1] != 0.0;
}

}  // namespace

std::vector<StateEvent> ListStateEvents(const RecordData& data) {
    std::vector<StateEvent> events;
    for (std::size_t channel = 0; channel < data.discrete.size(); ++channel) {
        const DiscreteColumns& column = data.discrete[channel];
        for (std::size_t k = 0; k < column.changeSamples.size(); ++k) {
            const std::size_t sample = column.changeSamples[k];
            if (sample == 0 || sample >= data.timeUs.size()) {
                continue;
            }
            events.push_back({sample, data.timeUs[sample], channel, StateAfterChange(column, k)});
        }
    }
    std::stable_sort(events.begin(), events.end(), [](const StateEvent& a, const StateEvent& b) {
        return a.timeUs != b.timeUs ? a.timeUs < b.timeUs : a.sample < b.sample;
    });
    return events;
}

bool StateAt(const DiscreteColumns& column, std::size_t sample) noexcept {
    const auto& changes = column.changeSamples;
    const auto after = std::upper_bound(changes.begin(), changes.end(), sample);
    return after != changes.begin() &&
           StateAfterChange(column, static_cast<std::size_t>(after - changes.begin()) - 1);
}

std::vector<bool> FirstStates(const RecordData& data) {
    std::vector<bool> states;
    states.reserve(data.discrete.size());
    for (const DiscreteColumns& column : data.discrete) {
        states.push_back(StateAt(column, 0));
    }
    return states;
}

}  // namespace faultscope
