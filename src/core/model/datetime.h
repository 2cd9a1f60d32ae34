#pragma once
// Calendar arithmetic on TDateTime (days since 1899-12-30, fraction = time of day).
#include <optional>

namespace brenvik {

// Days since 1899-12-30 00:00; the fraction is the time of day. Below 1: a time without date.
using TDateTime = double;

constexpr double kSecond = 1.0 / 86400.0;

struct TDateParts {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, msec = 0;
};

// Day number of a Gregorian date, years 1 to 9999; nullopt when the date does not exist.
std::optional<TDateTime> EncodeDate(int year, int month, int day);
// Fraction of a day; nullopt when a part is out of range.
std::optional<TDateTime> EncodeTime(int hour, int minute, int second, int msec);
// Splits a date-time rounded to the nearest millisecond; nullopt outside the years 1 to 9999
// or for a value that is not finite.
std::optional<TDateParts> DecodeDateTime(TDateTime v);
// The year a two-digit year stands for: the 100-year window starting 50 years before nowyear.
int WindowYear(int twodigit, int nowyear);
// Year of a date-time (0 when it cannot be decoded).
int YearOf(TDateTime v);

}  // namespace brenvik
