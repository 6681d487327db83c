#include "VisualSchedule.h"

#include "CronField.h"
#include "CronText.h"

#include <QStringList>

namespace Tempolane {

namespace {

std::optional<int> between(std::optional<std::int64_t> value, int lower, int upper)
{
    if (!value || *value < lower || *value > upper)
        return std::nullopt;
    return int(*value);
}

std::optional<int> readBetween(QStringView text, int lower, int upper)
{
    return between(CronText::readNumber(text), lower, upper);
}

std::optional<int> readWeekday(QStringView text)
{
    return between(readValue(CronField::weekday, text), 0, 7);
}

bool allStars(const QList<QStringView>& fields, qsizetype from)
{
    return std::all_of(fields.cbegin() + from, fields.cend(),
                       [](QStringView field) { return field == u"*"; });
}

// A plain list of weekday values and ranges ("1-5", "0,3,6", "mon-fri"); 7 counts as Sunday.
std::optional<std::set<int>> parseWeekdayList(QStringView field)
{
    std::set<int> weekdays;
    for (const QStringView element : field.split(u',', Qt::SkipEmptyParts)) {
        const auto dash = element.indexOf(u'-');
        QList<QStringView> pieces{element};
        if (dash >= 0)
            pieces = {element.first(dash), element.sliced(dash + 1)};
        pieces.removeIf([](QStringView piece) { return piece.isEmpty(); });
        if (pieces.isEmpty())
            return std::nullopt;
        const auto start = readWeekday(pieces.front());
        const auto end = pieces.size() > 1 ? readWeekday(pieces[1]) : start;
        if (!start || !end || *end < *start)
            return std::nullopt;
        for (int value = *start; value <= *end; ++value)
            weekdays.insert(value == 7 ? 0 : value);
    }
    if (weekdays.empty())
        return std::nullopt;
    return weekdays;
}

} // namespace

QString VisualSchedule::expression() const
{
    const auto fields = [](auto... texts) { return QStringList{texts...}.join(u' '); };
    const QString star = QStringLiteral("*");
    const QString m = QString::number(minute);
    const QString h = QString::number(hour);
    switch (frequency) {
    case ScheduleFrequency::minutes:
        return fields(minuteInterval == 1 ? star : QStringLiteral("*/%1").arg(minuteInterval), star,
                      star, star, star);
    case ScheduleFrequency::hourly:
        return fields(m, star, star, star, star);
    case ScheduleFrequency::daily:
        return fields(m, h, star, star, star);
    case ScheduleFrequency::weekly: {
        QStringList days;
        for (const int weekday : weekdays)
            days.append(QString::number(weekday));
        return fields(m, h, star, star, days.isEmpty() ? QStringLiteral("1") : days.join(u','));
    }
    case ScheduleFrequency::monthly:
        return fields(m, h, QString::number(dayOfMonth), star, star);
    }
    Q_UNREACHABLE();
}

std::optional<VisualSchedule> VisualSchedule::recognize(const QString& expression)
{
    const auto fields = CronText::splitAtBlanks(QStringView(expression).trimmed());
    if (fields.size() != 5)
        return std::nullopt;

    VisualSchedule schedule;
    if (allStars(fields, 0)) {
        schedule.frequency = ScheduleFrequency::minutes;
        schedule.minuteInterval = 1;
        return schedule;
    }
    if (fields[0].startsWith(u"*/") && allStars(fields, 1)) {
        if (const auto interval = readBetween(fields[0].sliced(2), 1, 59)) {
            schedule.frequency = ScheduleFrequency::minutes;
            schedule.minuteInterval = *interval;
            return schedule;
        }
    }

    const auto minute = readBetween(fields[0], 0, 59);
    if (!minute)
        return std::nullopt;
    schedule.minute = *minute;
    if (fields[1] == u"*") {
        if (!allStars(fields, 2))
            return std::nullopt;
        schedule.frequency = ScheduleFrequency::hourly;
        return schedule;
    }

    const auto hour = readBetween(fields[1], 0, 23);
    if (!hour)
        return std::nullopt;
    schedule.hour = *hour;
    if (allStars(fields, 2)) {
        schedule.frequency = ScheduleFrequency::daily;
        return schedule;
    }
    if (fields[2] == u"*" && fields[3] == u"*") {
        if (auto weekdays = parseWeekdayList(fields[4])) {
            schedule.frequency = ScheduleFrequency::weekly;
            schedule.weekdays = std::move(*weekdays);
            return schedule;
        }
    }
    if (const auto day = readBetween(fields[2], 1, 31); day && allStars(fields, 3)) {
        schedule.frequency = ScheduleFrequency::monthly;
        schedule.dayOfMonth = *day;
        return schedule;
    }
    return std::nullopt;
}

} // namespace Tempolane
