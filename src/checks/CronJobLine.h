#pragma once

#include "CronField.h"
#include "ParsedCronSchedule.h"

#include <QStringView>
#include <array>
#include <expected>

namespace Tempolane {

// A line as Debian's cron reads it when it is no comment and no assignment, measured against
// its crontab tool: fields parted by spaces and tabs; in a field, ranges of numbers or names
// (reversed ones included, which set nothing), steps only after "*" or a range, and whatever
// follows a list up to the next blank skipped unread ("3+" reads as 3). The command is the rest
// of the line, carriage return included.
struct CronJobLine
{
    // Where a piece of the line lies.
    struct Span
    {
        qsizetype start = 0;
        qsizetype length = 0;

        QStringView in(QStringView line) const { return line.sliced(start, length); }
    };

    // The values of minute, hour, day of month, month and weekday (0 = Sunday) that cron
    // matches; a shortcut as its five fields.
    std::array<CronValueSet, 5> values;
    // The field is written with "*" first: cron then asks for both day fields, and for either
    // of them when neither is.
    bool isDayOfMonthStar = false;
    bool isWeekdayStar = false;
    bool isReboot = false;
    // The five fields as written, or the one @-word in the first; and what cron skipped of
    // each unread after its list ("+" of "3+").
    std::array<Span, 5> fields;
    std::array<Span, 5> unread;
    qsizetype fieldCount = 5;
    // To the end of the line; may be empty.
    Span command;

    const CronValueSet& valuesOf(CronField field) const { return values[std::size_t(field)]; }

    // Why the crontab tool would refuse the whole file for the line.
    struct Refusal
    {
        enum class Reason
        {
            field,
            shortcut,
            fewerFields,
            // A command starting with "*", as a sixth field would.
            starCommand,
            longCommand
        };
        Reason reason = Reason::field;
        CronField field = CronField::minute;
    };

    // What cron reads, or why the tool refuses it.
    static std::expected<CronJobLine, Refusal> read(QStringView line);
};

} // namespace Tempolane
