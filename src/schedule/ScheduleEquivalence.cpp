// When two spellings of a schedule are one schedule: the schedule every run is computed from, and
// the comparison of what two expressions mean.
#include "CronExpression.h"

namespace Tempolane::CronExpression {

namespace {

constexpr std::uint64_t valuesFrom(int first, int last)
{
    return ((std::uint64_t{1} << (last + 1)) - 1) & ~((std::uint64_t{1} << first) - 1);
}

constexpr std::uint64_t everyDayOfMonth = valuesFrom(1, 31);
constexpr std::uint64_t everyWeekday = valuesFrom(0, 6);

// The days a schedule runs on, as the next-run search decides them: a day matches when its
// day of month is in `daysOfMonth` or its weekday is in `weekdays`; every day when `isEveryDay`.
struct DayRule
{
    bool isEveryDay = false;
    std::uint64_t daysOfMonth = 0;
    std::uint64_t weekdays = 0;

    friend bool operator==(const DayRule&, const DayRule&) = default;
};

DayRule dayRule(const ParsedCronSchedule& schedule)
{
    // An unrestricted field leaves the choice to the other one; both leave every day.
    DayRule rule;
    if (!schedule.isDayOfMonthUnrestricted || schedule.isWeekdayUnrestricted)
        rule.daysOfMonth =
            schedule.isDayOfMonthUnrestricted ? everyDayOfMonth : schedule.dayOfMonthValues.bits();
    if (!schedule.isWeekdayUnrestricted || schedule.isDayOfMonthUnrestricted)
        rule.weekdays =
            schedule.isWeekdayUnrestricted ? everyWeekday : schedule.weekdayValues.bits();
    if ((rule.daysOfMonth & everyDayOfMonth) == everyDayOfMonth ||
        (rule.weekdays & everyWeekday) == everyWeekday)
        return {true, 0, 0};
    return rule;
}

} // namespace

std::optional<ParsedCronSchedule> acceptedSchedule(const QString& expression)
{
    if (validationMessage(expression))
        return std::nullopt;
    return parse(expression);
}

bool meansSameTimes(const QString& expression, const QString& other)
{
    if (expression == other)
        return !validationMessage(expression);
    const auto first = acceptedSchedule(expression);
    const auto second = acceptedSchedule(other);
    if (!first || !second)
        return false;
    return first->minuteValues == second->minuteValues && first->hourValues == second->hourValues &&
           first->monthValues == second->monthValues && dayRule(*first) == dayRule(*second);
}

} // namespace Tempolane::CronExpression
