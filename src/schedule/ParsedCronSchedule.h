#pragma once

#include <QList>
#include <cstdint>

namespace Tempolane {

// The values of one cron field. Only 0…63 are kept: no calendar component (minute, hour,
// day, month, weekday) ever lies outside, so other values could never match, and dropping
// them keeps parsing of unchecked text bounded however large its ranges are.
class CronValueSet
{
public:
    static constexpr std::int64_t capacity = 64;

    void insert(std::int64_t value)
    {
        if (value >= 0 && value < capacity)
            m_bits |= std::uint64_t{1} << value;
    }
    bool contains(std::int64_t value) const
    {
        return value >= 0 && value < capacity && (m_bits >> value & 1U) != 0;
    }
    bool isEmpty() const { return m_bits == 0; }
    std::uint64_t bits() const { return m_bits; }
    QList<int> values() const;

    friend bool operator==(const CronValueSet&, const CronValueSet&) = default;

private:
    std::uint64_t m_bits = 0;
};

struct ParsedCronSchedule
{
    CronValueSet minuteValues;
    CronValueSet hourValues;
    CronValueSet dayOfMonthValues;
    CronValueSet monthValues;
    CronValueSet weekdayValues; // 0 = Sunday … 6 = Saturday; 7 is stored as 0
    bool isDayOfMonthUnrestricted = false;
    bool isWeekdayUnrestricted = false;

    friend bool operator==(const ParsedCronSchedule&, const ParsedCronSchedule&) = default;
};

} // namespace Tempolane
