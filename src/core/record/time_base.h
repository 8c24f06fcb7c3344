#pragma once

#include <cstdint>

#include "core/record/date_time.h"

namespace faultscope {

// Turns a sample's number or time stamp into its time in microseconds relative to the trigger,
// and keeps the range of the shared time axis (milliseconds) as samples arrive.
class TimeBase {
  public:
    // Raises LoadError("nrates не равен одному") unless exactly one rate is given.
    void CreateTimeLine(int nrates, double samp, double timemult, const DateTime& firstTime,
                        const DateTime& triggerTime);

    // The sample's time relative to the trigger; raises LoadError when the times come from
    // time stamps and this one is negative, or when the time leaves the 32-bit range.
    std::int32_t GetRateTime(std::int64_t timestamp, std::int64_t n);
    // The same without touching the axis, so that several threads may ask at once.
    [[nodiscard]] std::int32_t RateTime(std::int64_t timestamp, std::int64_t n) const;
    // Takes the axis to a sample at `xMs`, as GetRateTime does for the time it returns.
    void NoteSampleTime(double xMs) noexcept {
        if (xMs > axisMin_) {
            axisMax_ = xMs;
        }
    }

    [[nodiscard]] double AxisMin() const noexcept { return axisMin_; }
    [[nodiscard]] double AxisMax() const noexcept { return axisMax_; }
    [[nodiscard]] bool UseSamp() const noexcept { return useSamp_; }
    [[nodiscard]] double T() const noexcept { return t_; }
    [[nodiscard]] std::int32_t Before() const noexcept { return before_; }
    [[nodiscard]] const DateTime& FirstTime() const noexcept { return firstTime_; }
    [[nodiscard]] const DateTime& TriggerTime() const noexcept { return triggerTime_; }
    // The date-time of a sample at `timeUs` on the axis, in microseconds since 1970: the first
    // sample's date-time plus the sample's time from it.
    [[nodiscard]] std::int64_t AbsoluteMicroseconds(std::int32_t timeUs) const noexcept {
        return firstTime_.ToMicroseconds() + before_ + timeUs;
    }

  private:
    int fnrates_ = 0;
    double fsamp_ = 0.0;
    double ftimemult_ = 1.0;
    DateTime firstTime_;
    DateTime triggerTime_;
    bool useSamp_ = false;
    double t_ = 0.0;
    std::int32_t before_ = 0;
    double axisMin_ = 0.0;
    double axisMax_ = 0.0;
};

// Rounds to the nearest integer, an exact half to the even neighbour.
double RoundHalfEven(double v) noexcept;

}  // namespace faultscope
