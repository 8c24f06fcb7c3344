#pragma once

#include <cstdint>
#include <string>

namespace faultscope {

// A calendar date with a time of day, to the microsecond.
struct DateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int microsecond = 0;  // within the millisecond, 0 … 999

    // Milliseconds since 1970-01-01 00:00:00.000 (proleptic Gregorian calendar).
    [[nodiscard]] std::int64_t ToMilliseconds() const noexcept;
    [[nodiscard]] static DateTime FromMilliseconds(std::int64_t ms) noexcept;
    // Microseconds since 1970-01-01 00:00:00.000000, and back.
    [[nodiscard]] std::int64_t ToMicroseconds() const noexcept;
    [[nodiscard]] static DateTime FromMicroseconds(std::int64_t us) noexcept;
    [[nodiscard]] static bool IsValid(int year, int month, int day, int hour, int minute,
                                      int second, int millisecond) noexcept;

    friend bool operator==(const DateTime&, const DateTime&) = default;
};

// Formats as "yyyy.mm.dd hh:nn:ss.zzz": two events within one second must read apart, so the
// milliseconds follow the seconds after a point. dateSep and timeSep are the separators of the
// user's locale.
std::string FormatRecordTime(const DateTime& t, char dateSep = '.', char timeSep = ':');
// The same to the microsecond: "yyyy.mm.dd hh:nn:ss.zzzzzz".
std::string FormatRecordTimeMicroseconds(const DateTime& t, char dateSep = '.', char timeSep = ':');

}  // namespace faultscope
