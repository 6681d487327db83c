#pragma once

#include <cstdint>

// Proleptic Gregorian date arithmetic on plain integers, for hot loops that cannot afford
// QDate. Days are counted from 1970-01-01; every division rounds towards minus infinity.
namespace Tempolane::CivilTime {

inline constexpr std::int64_t millisecondsPerMinute = 60'000;
inline constexpr std::int64_t millisecondsPerDay = 86'400'000;
inline constexpr std::int64_t minutesPerDay = 1'440;

struct Date
{
    std::int64_t year;
    int month; // 1…12
    int day;   // 1…31

    friend bool operator==(const Date&, const Date&) = default;
};

constexpr std::int64_t floorDivide(std::int64_t value, std::int64_t divisor)
{
    const std::int64_t quotient = value / divisor;
    return quotient - (value % divisor != 0 && (value < 0) != (divisor < 0) ? 1 : 0);
}

constexpr std::int64_t floorModulo(std::int64_t value, std::int64_t divisor)
{
    return value - floorDivide(value, divisor) * divisor;
}

constexpr bool isLeapYear(std::int64_t year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

constexpr int daysInMonth(std::int64_t year, int month)
{
    constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

// After Howard Hinnant's days_from_civil.
constexpr std::int64_t daysFromDate(Date date)
{
    const std::int64_t year = date.month <= 2 ? date.year - 1 : date.year;
    const std::int64_t era = floorDivide(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t monthFromMarch = date.month > 2 ? date.month - 3 : date.month + 9;
    const std::int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + date.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + dayOfEra - 719'468;
}

constexpr Date dateFromDays(std::int64_t days)
{
    const std::int64_t shifted = days + 719'468;
    const std::int64_t era = floorDivide(shifted, 146'097);
    const std::int64_t dayOfEra = shifted - era * 146'097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1'460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    const int day = int(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    const int month = int(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

// Cron numbering: 0 = Sunday … 6 = Saturday (1970-01-01 was a Thursday).
constexpr int weekday(std::int64_t days)
{
    return int(floorModulo(days + 4, 7));
}

// The same day of the month some years later; 29 February becomes 28 February when the
// target year is not a leap year.
constexpr Date addingYears(Date date, std::int64_t years)
{
    const std::int64_t year = date.year + years;
    const int day =
        date.day > daysInMonth(year, date.month) ? daysInMonth(year, date.month) : date.day;
    return {year, date.month, day};
}

} // namespace Tempolane::CivilTime
