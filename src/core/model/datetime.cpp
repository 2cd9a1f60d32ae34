#include "model/datetime.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace brenvik {
namespace {

constexpr std::int64_t kMsPerDay = 86400000;
// Days from 0001-01-01 (proleptic Gregorian) to 1899-12-30.
constexpr std::int64_t kDelphiEpoch = 693594;

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (m == 2 && IsLeap(y)) ? 29 : days[m - 1];
}

// Days since 0001-01-01 for a valid date (day 1 is 0001-01-01).
std::int64_t DaysFromCivil(int y, int m, int d) {
    std::int64_t yy = y - 1;
    std::int64_t days = yy * 365 + yy / 4 - yy / 100 + yy / 400;
    for (int i = 1; i < m; ++i) days += DaysInMonth(y, i);
    return days + d;
}

void CivilFromDays(std::int64_t n, int& y, int& m, int& d) {
    // n: day 1 is 0001-01-01. Hinnant's civil_from_days counts from 1970-01-01 (n = 719163).
    std::int64_t z = n - 719163 + 719468;
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    std::int64_t doe = z - era * 146097;
    std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t yr = yoe + era * 400;
    std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    std::int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yr + (m <= 2 ? 1 : 0));
}

}  // namespace

std::optional<TDateTime> EncodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return std::nullopt;
    if (day > DaysInMonth(year, month)) return std::nullopt;
    return static_cast<double>(DaysFromCivil(year, month, day) - kDelphiEpoch);
}

std::optional<TDateTime> EncodeTime(int hour, int minute, int second, int msec) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        msec < 0 || msec > 999)
        return std::nullopt;
    return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + msec) / kMsPerDay;
}

std::optional<TDateParts> DecodeDateTime(TDateTime v) {
    // Years 1 to 9999 span day numbers -693593 to 2958465.
    if (!std::isfinite(v) || v <= -693594.0 || v >= 2958466.0) return std::nullopt;
    const std::int64_t total = std::llround(v * static_cast<double>(kMsPerDay));
    const std::int64_t days = total / kMsPerDay;  // toward zero, the date part
    std::int64_t ms = std::llabs(total) % kMsPerDay;
    const std::int64_t n = days + kDelphiEpoch;
    if (n < 1 || n > 3652059) return std::nullopt;
    TDateParts p;
    CivilFromDays(n, p.year, p.month, p.day);
    p.hour = static_cast<int>(ms / 3600000);
    ms %= 3600000;
    p.minute = static_cast<int>(ms / 60000);
    ms %= 60000;
    p.second = static_cast<int>(ms / 1000);
    p.msec = static_cast<int>(ms % 1000);
    return p;
}

int WindowYear(int twodigit, int nowyear) {
    const int start = nowyear - 50;
    int y = start - ((start % 100) + 100) % 100 + twodigit;
    if (y < start) y += 100;
    return y;
}

int YearOf(TDateTime v) {
    auto p = DecodeDateTime(v);
    return p ? p->year : 0;
}

}  // namespace brenvik
