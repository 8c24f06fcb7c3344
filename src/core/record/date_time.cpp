#include "core/record/date_time.h"

#include <cstdio>

namespace faultscope {
namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;

bool IsLeapYear(int y) noexcept {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) noexcept {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date (era-based count of 400-year cycles).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) noexcept {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) noexcept {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

bool DateTime::IsValid(int year, int month, int day, int hour, int minute, int second,
                       int millisecond) noexcept {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
           minute <= 59 && second >= 0 && second <= 59 && millisecond >= 0 && millisecond <= 999;
}

std::int64_t DateTime::ToMilliseconds() const noexcept {
    const std::int64_t days =
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    return days * kMsPerDay + ((hour * 60LL + minute) * 60LL + second) * 1000LL + millisecond;
}

DateTime DateTime::FromMilliseconds(std::int64_t ms) noexcept {
    std::int64_t days = ms / kMsPerDay;
    std::int64_t rest = ms % kMsPerDay;
    if (rest < 0) {
        rest += kMsPerDay;
        --days;
    }
    DateTime t;
    CivilFromDays(days, t.year, t.month, t.day);
    t.millisecond = static_cast<int>(rest % 1000);
    rest /= 1000;
    t.second = static_cast<int>(rest % 60);
    rest /= 60;
    t.minute = static_cast<int>(rest % 60);
    t.hour = static_cast<int>(rest / 60);
    return t;
}

std::int64_t DateTime::ToMicroseconds() const noexcept {
    return ToMilliseconds() * 1000 + microsecond;
}

DateTime DateTime::FromMicroseconds(std::int64_t us) noexcept {
    std::int64_t ms = us / 1000;
    std::int64_t rest = us % 1000;
    if (rest < 0) {
        rest += 1000;
        --ms;
    }
    DateTime t = FromMilliseconds(ms);
    t.microsecond = static_cast<int>(rest);
    return t;
}

std::string FormatRecordTimeMicroseconds(const DateTime& t, char dateSep, char timeSep) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%03d", t.microsecond);
    return FormatRecordTime(t, dateSep, timeSep) + buf;
}

std::string FormatRecordTime(const DateTime& t, char dateSep, char timeSep) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d%c%02d%c%02d %02d%c%02d%c%02d.%03d", t.year, dateSep,
                  t.month, dateSep, t.day, t.hour, timeSep, t.minute, timeSep, t.second,
                  t.millisecond);
    return buf;
}

}  // namespace faultscope
