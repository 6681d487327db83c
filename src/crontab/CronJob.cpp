#include "CronJob.h"

#include "CanonicalUuid.h"
#include "CronExpression.h"
#include "CronText.h"
#include "CrontabText.h"
#include "MonitoringCommandLine.h"

#include <QCoreApplication>
#include <algorithm>

namespace Tempolane {

namespace {

struct ScheduleAndCommand
{
    QString schedule;
    QString command;
};

struct Markers
{
    std::optional<QString> name;
    std::optional<QUuid> id;
    std::optional<ExecutionLogPolicy> policy;
};

// cron separates the fields and the command by spaces and tabs only.
qsizetype skipBlanks(QStringView text, qsizetype i)
{
    while (i < text.size() && CronText::isBlank(text[i]))
        ++i;
    return i;
}

qsizetype skipWord(QStringView text, qsizetype i)
{
    while (i < text.size() && !CronText::isBlank(text[i]))
        ++i;
    return i;
}

// Cron's own reading: an @-token or five fields, then at least one character of command.
std::optional<ScheduleAndCommand> splitScheduleAndCommand(QStringView body)
{
    qsizetype i = skipBlanks(body, 0);
    if (i == body.size())
        return std::nullopt;

    QString schedule;
    const int fieldCount = body[i] == u'@' ? 1 : 5;
    for (int field = 0; field < fieldCount; ++field) {
        i = skipBlanks(body, i);
        const qsizetype end = skipWord(body, i);
        if (end == i || end == body.size())
            return std::nullopt;
        if (field > 0)
            schedule += u' ';
        schedule += body.sliced(i, end - i);
        i = end;
    }
    i = skipBlanks(body, i);
    if (i == body.size())
        return std::nullopt;
    return ScheduleAndCommand{schedule, body.sliced(i).toString()};
}

bool isEnvironmentAssignment(QStringView body)
{
    qsizetype i = skipBlanks(body, 0);
    const auto isNameStart = [](QChar c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
    };
    if (i == body.size() || !isNameStart(body[i]))
        return false;
    ++i;
    while (i < body.size() && (isNameStart(body[i]) || (body[i] >= u'0' && body[i] <= u'9')))
        ++i;
    i = skipBlanks(body, i);
    return i < body.size() && body[i] == u'=';
}

// A job without an id marker is known by its line: every reading of the same line gives it the
// same id, so it can be named by that id until its marker is written.
constexpr QUuid unmarkedJobs(0xa84e3b63, 0x00de, 0x4345, 0x95, 0x5c, 0x71, 0x19, 0x38, 0xb4, 0xab,
                             0x65);

// Any order and repetition; the last valid assignment of each marker wins.
Markers readMarkers(const QStringList& lines)
{
    Markers markers;
    for (const QString& line : lines) {
        const QStringView view(line);
        if (view.startsWith(CronMarkers::name)) {
            const auto value =
                CrontabText::trimmedSpacesAndTabs(view.sliced(CronMarkers::name.size()));
            if (!value.isEmpty())
                markers.name = value.toString();
        } else if (view.startsWith(CronMarkers::id)) {
            markers.id = parseCanonicalUuid(
                CrontabText::trimmedSpacesAndTabs(view.sliced(CronMarkers::id.size())));
        } else if (view.startsWith(CronMarkers::monitoring)) {
            markers.policy = executionLogPolicyFromRawValue(
                CrontabText::trimmedSpacesAndTabs(view.sliced(CronMarkers::monitoring.size())));
        }
    }
    return markers;
}

// The last path component, as a file path reads: trailing slashes do not count.
QString lastPathComponent(const QString& path)
{
    QStringView view(path);
    while (view.size() > 1 && view.endsWith(u'/'))
        view.chop(1);
    if (view == u"/")
        return QStringLiteral("/");
    return view.sliced(view.lastIndexOf(u'/') + 1).toString();
}

} // namespace

bool CronMarkers::isMetadataLine(QStringView line)
{
    // Most lines are jobs or other text: one character tells them apart cheaply.
    if (line.isEmpty() || line.front() != u'#')
        return false;
    return line.startsWith(name) || line.startsWith(id) || line.startsWith(monitoring);
}

std::optional<CronJob> CronJob::parse(const QString& line, const QStringList& markerLines,
                                      QStringView quotedRunner)
{
    const bool isEnabled = !line.startsWith(CronMarkers::disabled);
    const QStringView body =
        isEnabled ? QStringView(line) : QStringView(line).sliced(CronMarkers::disabled.size());

    const QStringView trimmedBody = CrontabText::trimmedSpacesAndTabs(body);
    if (trimmedBody.isEmpty() || trimmedBody.startsWith(u'#') || isEnvironmentAssignment(body))
        return std::nullopt;

    const auto split = splitScheduleAndCommand(body);
    if (!split || CronExpression::validationMessage(split->schedule))
        return std::nullopt;

    const Markers markers = readMarkers(markerLines);
    const auto unwrapped = MonitoringCommandLine::unwrapCommand(split->command, quotedRunner);
    const bool isMonitored =
        unwrapped && markers.id == unwrapped->id && markers.policy == unwrapped->policy;

    CronJob job;
    job.scheduleExpression = split->schedule;
    job.command = isMonitored ? unwrapped->command : split->command;
    job.isEnabled = isEnabled;
    job.isMonitoringEnabled = isMonitored;
    job.logPolicy = isMonitored ? unwrapped->policy : ExecutionLogPolicy::messagesAndErrors;
    job.name = markers.name.value_or(fallbackName(job.command));
    job.id = markers.id  ? *markers.id
             : unwrapped ? unwrapped->id
                         : QUuid::createUuidV5(unmarkedJobs, line);
    job.original = Original{job.settings(), markerLines, line};
    return job;
}

bool CronJob::isUnchanged() const
{
    return original && settings() == original->settings;
}

QStringList CronJob::serializedLines(QStringView quotedRunner) const
{
    QStringList lines;
    appendSerializedLines(lines, quotedRunner);
    return lines;
}

void CronJob::appendSerializedLines(QStringList& lines, QStringView quotedRunner) const
{
    if (isUnchanged()) {
        lines.append(original->rawMetadataLines);
        lines.append(original->rawLine);
        return;
    }

    const QString writtenName = CrontabText::trimmedBlanksAndLineBreaks(name).toString();
    const bool hadNameMarker =
        original &&
        std::any_of(original->rawMetadataLines.cbegin(), original->rawMetadataLines.cend(),
                    [](const QString& marker) { return marker.startsWith(CronMarkers::name); });
    if (!writtenName.isEmpty() && (isMonitoringEnabled || !original || hadNameMarker ||
                                   writtenName != original->settings.name))
        lines.append(CronMarkers::name.toString() + writtenName);

    lines.append(CronMarkers::id.toString() + canonicalText(id));
    if (isMonitoringEnabled)
        lines.append(CronMarkers::monitoring.toString() + rawValue(logPolicy));

    const QString writtenCommand =
        isMonitoringEnabled
            ? MonitoringCommandLine::wrappedCommand(id, logPolicy, command, quotedRunner)
            : command;
    const QString jobLine = scheduleExpression + u' ' + writtenCommand;
    lines.append(isEnabled ? jobLine : CronMarkers::disabled.toString() + jobLine);
}

QString CronJob::fallbackName(const QString& command)
{
    // The first word ends at a line break too: a carriage return left from a file written with
    // CR LF endings belongs to no name.
    const QStringView trimmed = CrontabText::trimmedBlanksAndLineBreaks(command);
    QStringView token = trimmed;
    if (const auto end = std::find_if(trimmed.begin(), trimmed.end(),
                                      [](QChar c) { return CrontabText::isBlankOrLineBreak(c); });
        end != trimmed.end())
        token = trimmed.first(end - trimmed.begin());
    const auto isQuote = [](QChar c) { return c == u'"' || c == u'\''; };
    while (!token.isEmpty() && isQuote(token.front()))
        token = token.sliced(1);
    while (!token.isEmpty() && isQuote(token.back()))
        token.chop(1);

    // A command of blanks or of quotes alone would otherwise get an empty name.
    if (token.isEmpty())
        return QCoreApplication::translate("CronJob", "Unbenannter Job");
    const QString component = lastPathComponent(token.toString());
    return component.isEmpty() ? token.toString() : component;
}

} // namespace Tempolane
