#include "CronJobLine.h"

#include "CronShortcut.h"
#include "CronText.h"
#include "MonitoringCommandLine.h"

#include <limits>

namespace Tempolane {

namespace {

using Refusal = CronJobLine::Refusal;

std::unexpected<Refusal> refused(Refusal::Reason reason, CronField field = CronField::minute)
{
    return std::unexpected(Refusal{reason, field});
}

// cron keeps values and steps in a C int and adds the step to the start there.
constexpr std::int64_t largestInt = std::numeric_limits<std::int32_t>::max();

bool isAsciiAlphanumeric(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

qsizetype skipBlanks(QStringView line, qsizetype i)
{
    while (i < line.size() && CronText::isBlank(line[i]))
        ++i;
    return i;
}

qsizetype skipNonBlanks(QStringView line, qsizetype i)
{
    while (i < line.size() && !CronText::isBlank(line[i]))
        ++i;
    return i;
}

// A run of ASCII letters and digits that names a value of the field, or is a number in its
// bounds.
std::optional<std::int64_t> readValue(QStringView line, qsizetype& i, CronField field)
{
    const qsizetype start = i;
    while (i < line.size() && isAsciiAlphanumeric(line[i]))
        ++i;
    const QStringView word = line.sliced(start, i - start);
    if (word.isEmpty())
        return std::nullopt;
    if (const auto named = nameValue(field, word))
        return *named;
    const auto number = CronText::readNumber(word);
    if (!number || *number < lowerBound(field) || *number > upperBound(field))
        return std::nullopt;
    return number;
}

std::optional<std::int64_t> readStep(QStringView line, qsizetype& i)
{
    const qsizetype begin = i;
    while (i < line.size() && isAsciiAlphanumeric(line[i]))
        ++i;
    const auto step = CronText::readNumber(line.sliced(begin, i - begin));
    if (!step || *step < 1 || *step > largestInt)
        return std::nullopt;
    return step;
}

// One element of a list ("*", "5", "1-5", "*/10", "mon-fri/2"), its values added.
bool readElement(QStringView line, qsizetype& i, CronField field, CronValueSet& values)
{
    std::int64_t start = lowerBound(field);
    std::int64_t end = upperBound(field);
    bool isSingle = false;
    if (i < line.size() && line[i] == u'*') {
        ++i;
    } else {
        const auto first = readValue(line, i, field);
        if (!first)
            return false;
        start = end = *first;
        isSingle = true;
        if (i < line.size() && line[i] == u'-') {
            ++i;
            const auto last = readValue(line, i, field);
            if (!last)
                return false;
            end = *last;
            isSingle = false;
        }
    }
    std::int64_t step = 1;
    if (i < line.size() && line[i] == u'/') {
        ++i;
        const auto read = readStep(line, i);
        if (isSingle || !read)
            return false;
        step = *read;
    }
    // cron's loop over the range would run past the largest int; a reversed range sets nothing
    // and never steps.
    if (start <= end && step > largestInt - start)
        return false;
    // A reversed range sets nothing.
    for (std::int64_t value = start; value <= end; value += step)
        values.insert(field == CronField::weekday && value == 7 ? 0 : value);
    return true;
}

std::optional<CronValueSet> readField(QStringView line, qsizetype& i, CronField field,
                                      CronJobLine::Span& unread)
{
    CronValueSet values;
    while (true) {
        if (!readElement(line, i, field, values))
            return std::nullopt;
        if (i >= line.size() || line[i] != u',')
            break;
        ++i;
    }
    const qsizetype end = skipNonBlanks(line, i);
    unread = {i, end - i};
    i = end;
    return values;
}

} // namespace

std::expected<CronJobLine, CronJobLine::Refusal> CronJobLine::read(QStringView line)
{
    CronJobLine job;
    qsizetype i = skipBlanks(line, 0);
    if (i < line.size() && line[i] == u'@') {
        const qsizetype end = skipNonBlanks(line, i);
        const CronShortcut* shortcut = CronShortcut::find(line.sliced(i, end - i));
        if (!shortcut)
            return refused(Refusal::Reason::shortcut);
        job.fields[0] = {i, end - i};
        job.fieldCount = 1;
        job.isReboot = shortcut->expansion.isEmpty();
        if (!job.isReboot) {
            const auto expanded = read(shortcut->expansion.toString() + QStringLiteral(" x"));
            job.values = expanded->values;
            job.isDayOfMonthStar = expanded->isDayOfMonthStar;
            job.isWeekdayStar = expanded->isWeekdayStar;
        }
        i = skipBlanks(line, end);
    } else {
        for (const CronField field : allCronFields) {
            i = skipBlanks(line, i);
            if (i >= line.size())
                return refused(Refusal::Reason::fewerFields);
            const qsizetype start = i;
            auto values = readField(line, i, field, job.unread[std::size_t(field)]);
            if (!values)
                return refused(Refusal::Reason::field, field);
            job.values[std::size_t(field)] = *values;
            job.fields[std::size_t(field)] = {start, i - start};
        }
        job.isDayOfMonthStar = line[job.fields[2].start] == u'*';
        job.isWeekdayStar = line[job.fields[4].start] == u'*';
        i = skipBlanks(line, i);
    }
    job.command = {i, line.size() - i};
    if (i < line.size() && line[i] == u'*')
        return refused(Refusal::Reason::starCommand);
    if (job.command.in(line).toUtf8().size() > MonitoringCommandLine::maximumCommandFieldBytes)
        return refused(Refusal::Reason::longCommand);
    return job;
}

} // namespace Tempolane
