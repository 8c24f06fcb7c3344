#include "core/record/time_base.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/record/load_error.h"

namespace faultscope {
namespace {

constexpr double kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr double kInt32Max = std::numeric_limits<std::int32_t>::max();

bool FitsInt32(double v) noexcept {
    return v >= kInt32Min && v <= kInt32Max;
}

}  // namespace

double RoundHalfEven(double v) noexcept {
    return std::nearbyint(v);
}

void TimeBase::CreateTimeLine(int nrates, double samp, double timemult, const DateTime& firstTime,
                              const DateTime& triggerTime) {
    fnrates_ = nrates;
    fsamp_ = samp;
    ftimemult_ = timemult;
    firstTime_ = firstTime;
    triggerTime_ = triggerTime;
    useSamp_ = nrates > 0 && samp > 0;
    if (nrates != 1) {
        throw LoadError("nrates не равен одному");
    }
    const double before =
        std::fabs(static_cast<double>(triggerTime.ToMilliseconds() - firstTime.ToMilliseconds())) *
        1000.0;
    // Sample times are 32-bit microseconds around the trigger: about 35 minutes either side.
    if (!FitsInt32(before)) {
        throw LoadError("Первый отсчёт отстоит от момента пуска больше чем на 35 минут");
    }
    before_ = static_cast<std::int32_t>(before);
    axisMin_ = -before_ / 1000.0;
    axisMax_ = axisMin_;
    if (useSamp_) {
        t_ = (1.0 / samp) * 1'000'000.0;
    }
}

std::int32_t TimeBase::GetRateTime(std::int64_t timestamp, std::int64_t n) {
    const std::int32_t t = RateTime(timestamp, n);
    NoteSampleTime(t / 1000.0);
    return t;
}

std::int32_t TimeBase::RateTime(std::int64_t timestamp, std::int64_t n) const {
    double t = 0.0;
    if (useSamp_) {
        t = RoundHalfEven(static_cast<double>(n - 1) * t_);
    } else {
        if (timestamp < 0) {
            throw LoadError("samp, nrates и timestamp не заданы");
        }
        t = RoundHalfEven(static_cast<double>(timestamp) * ftimemult_);
    }
    const double result = t - before_;
    if (!FitsInt32(result)) {
        throw LoadError("Время отсчёта вне допустимого диапазона");
    }
    return static_cast<std::int32_t>(result);
}

}  // namespace faultscope
