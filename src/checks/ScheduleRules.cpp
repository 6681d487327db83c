#include "CronCalendar.h"
#include "CronText.h"
#include "Rules.h"
#include "TextContext.h"

#include <QLocale>

TEMPOLANE_TEXT_CONTEXT(Checks)

namespace Tempolane::Rules {

namespace {

// Runs of the history looked at, and the longest stretch searched for the next start.
constexpr qsizetype examinedRuns = 100;
constexpr qint64 longestSearchedSeconds = 2 * 24 * 3600;

QString fieldText(const CheckedLine& line, CronField field)
{
    return line.cron.fields[std::size_t(field)]
        .in(QStringView(line.text).sliced(line.bodyStart))
        .toString();
}

QString scheduleText(const CheckedLine& line)
{
    QStringList fields;
    for (qsizetype i = 0; i < line.cron.fieldCount; ++i)
        fields.append(
            line.cron.fields[i].in(QStringView(line.text).sliced(line.bodyStart)).toString());
    return fields.join(u' ');
}

// The messages are German, and so are their dates.
const QLocale& german()
{
    static const QLocale locale(QLocale::German);
    return locale;
}

QString dateText(const QDateTime& instant, const QTimeZone& zone)
{
    return german().toString(instant.toTimeZone(zone), QStringLiteral("ddd, d. MMMM yyyy, HH:mm"));
}

QString timeText(const QTime& time)
{
    return QStringLiteral("%1:%2")
        .arg(time.hour(), 2, 10, QChar(u'0'))
        .arg(time.minute(), 2, 10, QChar(u'0'));
}

// A range written backwards, "sat-sun": its two values, and the element as written.
struct ReversedRange
{
    CronField field;
    qsizetype start;
    QString written;
    std::int64_t from;
    std::int64_t to;
    bool hasStep;
};

QList<ReversedRange> reversedRanges(const CheckedLine& line)
{
    QList<ReversedRange> ranges;
    const QStringView body = QStringView(line.text).sliced(line.bodyStart);
    for (const CronField field : allCronFields) {
        if (line.cron.fieldCount != 5)
            break;
        const CronJobLine::Span span = line.cron.fields[std::size_t(field)];
        const CronJobLine::Span unread = line.cron.unread[std::size_t(field)];
        const QStringView list = body.sliced(span.start, span.length - unread.length);
        qsizetype offset = 0;
        for (const QStringView element : list.split(u',')) {
            const qsizetype slash = element.indexOf(u'/');
            const QStringView base = slash < 0 ? element : element.first(slash);
            const qsizetype dash = base.indexOf(u'-');
            if (dash > 0) {
                const auto from = readValue(field, base.first(dash));
                const auto to = readValue(field, base.sliced(dash + 1));
                if (from && to && *from > *to)
                    ranges.append({field, line.bodyStart + span.start + offset, element.toString(),
                                   *from, *to, slash >= 0});
            }
            offset += element.size() + 1;
        }
    }
    return ranges;
}

// The values a reversed range was most likely meant to run through, around the end of the
// field: "sat-sun" as "sat,sun".
QString wrappedList(const ReversedRange& range)
{
    static const QStringList months{"jan", "feb", "mar", "apr", "may", "jun",
                                    "jul", "aug", "sep", "oct", "nov", "dec"};
    static const QStringList weekdays{"sun", "mon", "tue", "wed", "thu", "fri", "sat"};
    const bool isNamed = range.written.front().isLetter();
    const int upper = range.field == CronField::weekday ? 6 : upperBound(range.field);
    QList<int> values;
    const auto add = [&values, &range](int value) {
        if (range.field == CronField::weekday)
            value %= 7;
        if (!values.contains(value))
            values.append(value);
    };
    for (int value = int(range.from); value <= std::max<int>(upper, int(range.from)); ++value)
        add(value);
    for (int value = lowerBound(range.field); value <= range.to; ++value)
        add(value);
    QStringList written;
    for (const int value : values) {
        if (!isNamed)
            written.append(QString::number(value));
        else if (range.field == CronField::month)
            written.append(months[value - 1]);
        else
            written.append(weekdays[value]);
    }
    return written.join(u',');
}

// A line that never runs, or a range in it that cron reads as empty.
void neverRuns(const CheckedLine& line, bool isEver, CheckContext& context)
{
    const QList<ReversedRange> ranges = reversedRanges(line);
    if (ranges.isEmpty() && isEver)
        return;
    if (ranges.isEmpty()) {
        context.add(line, "never-runs", Severity::error,
                    tr("„%1“ trifft nie: diesen Tag gibt es in keinem der Monate, und die Zeile "
                       "läuft nie.")
                        .arg(scheduleText(line)));
        return;
    }
    const bool canWrap = std::all_of(ranges.cbegin(), ranges.cend(), [](const auto& range) {
        return !range.hasStep &&
               (range.field == CronField::weekday || range.field == CronField::month);
    });
    QList<Fix> fixes;
    if (canWrap) {
        QString fixed = line.text;
        for (auto range = ranges.crbegin(); range != ranges.crend(); ++range)
            fixed.replace(range->start, range->written.size(), wrappedList(*range));
        fixes.append({tr("Als Liste schreiben"),
                      tr("Bereich „%1“ als Liste schreiben").arg(ranges.front().written),
                      {context.replaceLine(line.index, fixed)},
                      {}});
    }
    if (isEver)
        context.add(line, "never-runs", Severity::warning,
                    tr("„%1“ ist ein umgekehrter Bereich: cron liest ihn als leer, und die Zeile "
                       "läuft nur, wo die übrigen Felder es sagen.")
                        .arg(ranges.front().written),
                    fixes);
    else
        context.add(line, "never-runs", Severity::error,
                    tr("„%1“ ist ein umgekehrter Bereich: cron liest ihn als leer, und die Zeile "
                       "läuft nie.")
                        .arg(ranges.front().written),
                    fixes);
}

void oddSchedule(const CheckedLine& line, CheckContext& context)
{
    QString fixed = line.text;
    QStringList skipped;
    QString firstField;
    for (qsizetype i = line.cron.fieldCount - 1; i >= 0; --i) {
        const CronJobLine::Span unread = line.cron.unread[i];
        if (unread.length == 0)
            continue;
        skipped.prepend(unread.in(QStringView(line.text).sliced(line.bodyStart)).toString());
        firstField = fieldText(line, CronField(i));
        fixed.remove(line.bodyStart + unread.start, unread.length);
    }
    if (skipped.isEmpty())
        return;
    const QString read = firstField.first(firstField.size() - skipped.front().size());
    context.add(line, "odd-schedule", Severity::warning,
                tr("cron liest „%1“ als „%2“ und übergeht „%3“, ohne es zu melden.")
                    .arg(firstField, read, skipped.front()),
                {{tr("Wie cron schreiben"),
                  tr("„%1“ als „%2“ schreiben").arg(firstField, read),
                  {context.replaceLine(line.index, fixed)},
                  {}}});
}

void eitherDay(const CheckedLine& line, CheckContext& context)
{
    // With one of them empty, the other alone decides.
    if (line.cron.isDayOfMonthStar || line.cron.isWeekdayStar ||
        line.cron.valuesOf(CronField::dayOfMonth).isEmpty() ||
        line.cron.valuesOf(CronField::weekday).isEmpty())
        return;
    const CheckMachine& machine = context.machine();
    const QList<QDateTime> starts =
        CronCalendar::nextStarts(line.cron, machine.now, machine.zone, 2);
    if (starts.size() < 2)
        return;
    context.add(line, "either-day", Severity::warning,
                tr("Tag und Wochentag sind beide eingeschränkt: cron startet den Job an jedem "
                   "dieser Tage und an jedem dieser Wochentage, nicht nur, wenn beides zutrifft, "
                   "zum Beispiel am %1 und am %2.")
                    .arg(dateText(starts[0], machine.zone), dateText(starts[1], machine.zone)));
}

void everyMinute(const CheckedLine& line, CheckContext& context)
{
    // "*/1" says every minute in so many words.
    const QString minute = fieldText(line, CronField::minute);
    if (minute != u"*")
        return;
    const bool isRestricted =
        std::any_of(allCronFields.cbegin() + 1, allCronFields.cend(),
                    [&line](CronField field) { return fieldText(line, field) != u"*"; });
    if (!isRestricted)
        return;
    const qsizetype start = line.bodyStart + line.cron.fields[0].start;
    QString fixed = line.text;
    fixed.replace(start, minute.size(), QStringLiteral("0"));
    context.add(line, "every-minute", Severity::warning,
                tr("„%1“ als Minute heißt jede Minute: der Job läuft in jeder passenden Stunde "
                   "60-mal.")
                    .arg(minute),
                {{tr("Nur zur vollen Stunde"),
                  tr("„%1“ nur zur vollen Stunde starten").arg(line.name()),
                  {context.replaceLine(line.index, fixed)},
                  {}}});
}

// The next two changes of the zone's clock within a year; a job at a fixed time that falls
// into the hour skipped or repeated.
void clockChange(const CheckedLine& line, CheckContext& context)
{
    if (fieldText(line, CronField::minute).startsWith(u'*') ||
        fieldText(line, CronField::hour).startsWith(u'*'))
        return;
    const CheckMachine& machine = context.machine();
    QDateTime after = machine.now;
    for (int change = 0; change < 2; ++change) {
        const QTimeZone::OffsetData transition = machine.zone.nextTransition(after);
        if (!transition.atUtc.isValid() || transition.atUtc > machine.now.addYears(1))
            return;
        after = transition.atUtc;
        const qint64 at = transition.atUtc.toSecsSinceEpoch();
        const int before = machine.zone.offsetFromUtc(transition.atUtc.addSecs(-1));
        const int shift = transition.offsetFromUtc - before;
        if (shift == 0)
            continue;
        // The wall-clock times the change skips (forward) or brings twice (back).
        const QDateTime window =
            QDateTime::fromSecsSinceEpoch(at + std::max(before, transition.offsetFromUtc), Qt::UTC)
                .addSecs(-std::abs(shift));
        for (qint64 minute = 0; minute < std::abs(shift) / 60; ++minute) {
            const QDateTime wall = window.addSecs(minute * 60);
            if (!CronCalendar::matchesDate(line.cron, wall.date()) ||
                !CronCalendar::matchesTime(line.cron, wall.time().hour(), wall.time().minute()))
                continue;
            const QString day = german().toString(wall.date(), u"d. MMMM yyyy");
            const QTime early = window.time();
            const QTime late = window.addSecs(std::abs(shift)).time();
            context.add(
                line, "clock-change", Severity::hint,
                shift > 0 ? tr("Am %1 wird die Uhr von %2 auf %3 vorgestellt: %4 gibt es an "
                               "diesem Tag nicht, und cron startet den Job gleich nach der "
                               "Umstellung.")
                                .arg(day, timeText(early), timeText(late), timeText(wall.time()))
                          : tr("Am %1 wird die Uhr von %2 auf %3 zurückgestellt: %4 kommt an "
                               "diesem Tag zweimal, und cron startet den Job nur einmal.")
                                .arg(day, timeText(late), timeText(early), timeText(wall.time())));
            return;
        }
    }
}

QString durationText(qint64 seconds)
{
    if (seconds < 3600)
        return tr.plural("one {# Minute} other {# Minuten}", (seconds + 59) / 60);
    return tr.plural("one {# Stunde} other {# Stunden}", seconds / 3600) + u' ' +
           tr.plural("one {# Minute} other {# Minuten}", seconds % 3600 / 60);
}

void overlap(const CheckedLine& line, CheckContext& context)
{
    const CheckMachine& machine = context.machine();
    if (!line.isMonitored || !machine.runHistory || line.command.contains(QStringLiteral("flock")))
        return;
    const QList<JobExecutionRecord> runs = machine.runHistory(line.job->id).mid(0, examinedRuns);
    const JobExecutionRecord* longest = nullptr;
    qint64 longestSeconds = 0;
    for (const JobExecutionRecord& run : runs) {
        if (!run.endedAt)
            continue;
        const qint64 seconds = run.startedAt.secsTo(*run.endedAt);
        if (seconds > longestSeconds) {
            longestSeconds = seconds;
            longest = &run;
        }
    }
    // Starts lie a minute apart at least.
    if (!longest || longestSeconds <= 60)
        return;
    const QDateTime until =
        longest->startedAt.addSecs(std::min(longestSeconds, longestSearchedSeconds));
    const auto next = CronCalendar::startWithin(line.cron, longest->startedAt, until, machine.zone);
    if (!next)
        return;
    context.add(line, "overlap", Severity::warning,
                tr("Der längste der letzten %1 Läufe dauerte %2, der nächste Start folgt aber "
                   "schon nach %3: ohne „flock“ laufen die Läufe übereinander.")
                    .arg(QLocale().toString(runs.size()), durationText(longestSeconds),
                         durationText(longest->startedAt.secsTo(*next))));
}

} // namespace

void schedule(const CheckedLine& line, CheckContext& context)
{
    if (!line.job)
        oddSchedule(line, context);
    if (line.cron.isReboot)
        return;
    const bool isEver = CronCalendar::ever(line.cron);
    neverRuns(line, isEver, context);
    if (!isEver)
        return;
    eitherDay(line, context);
    if (line.cron.fieldCount == 5)
        everyMinute(line, context);
    clockChange(line, context);
    overlap(line, context);
}

} // namespace Tempolane::Rules
