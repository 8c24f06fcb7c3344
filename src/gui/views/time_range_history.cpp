#include "gui/views/time_range_history.h"

namespace faultscope {

bool TimeRangeHistory::Push(TimeRange left, Change change, std::int64_t nowMs) {
    const bool sameBurst = change != Change::Single && change == lastChange_ && !ranges_.empty() &&
                           nowMs - lastMs_ <= kBurstMs;
    lastChange_ = change;
    lastMs_ = nowMs;
    if (sameBurst) {
        return false;
    }
    if (ranges_.size() == kMaxRanges) {
        ranges_.erase(ranges_.begin());
    }
    ranges_.push_back(left);
    return true;
}

std::optional<TimeRange> TimeRangeHistory::Pop() {
    lastChange_ = Change::Single;
    if (ranges_.empty()) {
        return std::nullopt;
    }
    const TimeRange range = ranges_.back();
    ranges_.pop_back();
    return range;
}

}  // namespace faultscope
