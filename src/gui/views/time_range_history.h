#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace faultscope {

// A visible time range, in milliseconds.
struct TimeRange {
    double start = 0.0;
    double end = 0.0;

    friend bool operator==(const TimeRange&, const TimeRange&) = default;
};

// The time ranges a record window showed before the user changed them, newest last, for
// "Назад". A change that repeats quickly (wheel notches, cursor keys) comes back as one: a step
// within kBurstMs of the previous step of the same gesture adds nothing, so "Назад" returns to
// the range before the whole burst. Only the newest kMaxRanges are kept.
class TimeRangeHistory {
  public:
    enum class Change { Single, Wheel, CursorKey };

    static constexpr std::int64_t kBurstMs = 500;
    static constexpr std::size_t kMaxRanges = 100;

    // Remembers `left`, the range a change of kind `change` at `nowMs` leaves; false when the
    // change belongs to the burst before it and adds nothing.
    bool Push(TimeRange left, Change change, std::int64_t nowMs);
    // The newest range, taken off the history; none when it is empty. The next change starts a
    // burst of its own.
    std::optional<TimeRange> Pop();
    [[nodiscard]] bool Empty() const noexcept { return ranges_.empty(); }
    [[nodiscard]] std::size_t Size() const noexcept { return ranges_.size(); }

  private:
    std::vector<TimeRange> ranges_;
    Change lastChange_ = Change::Single;
    std::int64_t lastMs_ = 0;
};

}  // namespace faultscope
