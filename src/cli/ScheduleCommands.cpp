#include "CliCommand.h"
#include "CliInput.h"
#include "CronExpression.h"
#include "TextContext.h"
#include "VisualSchedule.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTimeZone>

TEMPOLANE_TEXT_CONTEXT(Cli)

namespace Tempolane::Cli {

namespace {

// Reads expressions from standard input and prints one answer line for each.
template <typename Answer>
int answerEachLine(const QStringList& arguments, Streams streams, const char* usage, Answer answer)
{
    if (!arguments.isEmpty()) {
        streams.err << usage << Qt::endl;
        return usageError;
    }
    const auto text = readText();
    if (!text) {
        streams.err << text.error() << Qt::endl;
        return failure;
    }
    int status = success;
    for (const QString& line : inputLines(*text))
        status = std::max(status, int(answer(line, streams)));
    return status;
}

// Seconds since 1970 with an optional fraction ("1767225600", "-0.25"), as milliseconds
// rounded down, so that the minute holding the instant stays the same.
std::optional<std::int64_t> readEpochMilliseconds(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(-?)([0-9]{1,15})(?:\\.([0-9]+))?$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QString fraction = match.captured(3);
    const std::int64_t magnitude = match.captured(2).toLongLong() * 1000 +
                                   (fraction + QStringLiteral("00")).left(3).toLongLong();
    if (match.captured(1).isEmpty())
        return magnitude;
    const bool hasMore =
        fraction.size() > 3 && fraction.sliced(3).count(u'0') != fraction.size() - 3;
    return -magnitude - (hasMore ? 1 : 0);
}

// One line of `next`: the expression, the reference and the zone, the last two after the
// last two tabs; the answer in whole seconds since 1970, "none", or what is wrong.
int answerNext(const QString& line, Streams streams)
{
    const auto zoneTab = line.lastIndexOf(u'\t');
    const auto epochTab = zoneTab > 0 ? line.lastIndexOf(u'\t', zoneTab - 1) : -1;
    if (epochTab < 0) {
        streams.out << tr("Erwartet: AUSDRUCK<TAB>SEKUNDEN<TAB>ZEITZONE") << u'\n';
        return failure;
    }
    const QString epochText = line.sliced(epochTab + 1, zoneTab - epochTab - 1);
    const QString zoneName = line.sliced(zoneTab + 1);
    const auto reference = readEpochMilliseconds(epochText);
    if (!reference) {
        streams.out << tr("Ungültiger Zeitpunkt: %1").arg(epochText) << u'\n';
        return failure;
    }
    const QTimeZone zone(zoneName.toUtf8());
    if (zoneName.isEmpty() || !zone.isValid()) {
        streams.out << tr("Unbekannte Zeitzone: %1").arg(zoneName) << u'\n';
        return failure;
    }
    const auto next = CronExpression::nextExecution(
        line.first(epochTab), QDateTime::fromMSecsSinceEpoch(*reference, Qt::UTC), zone);
    if (next)
        streams.out << next->toSecsSinceEpoch() << u'\n';
    else
        streams.out << "none\n";
    return success;
}

} // namespace

int validate(const QStringList& arguments, Streams streams)
{
    return answerEachLine(
        arguments, streams, "usage: tempolane-cli validate < expressions",
        [](const QString& expression, Streams out) {
            out.out << CronExpression::validationMessage(expression).value_or(QStringLiteral("ok"))
                    << u'\n';
            return int(success);
        });
}

int next(const QStringList& arguments, Streams streams)
{
    return answerEachLine(arguments, streams,
                          "usage: tempolane-cli next < lines of EXPRESSION<TAB>EPOCH<TAB>ZONE",
                          answerNext);
}

int describe(const QStringList& arguments, Streams streams)
{
    return answerEachLine(arguments, streams, "usage: tempolane-cli describe < expressions",
                          [](const QString& expression, Streams out) {
                              out.out << CronExpression::description(expression) << u'\n';
                              return int(success);
                          });
}

int visual(const QStringList& arguments, Streams streams)
{
    return answerEachLine(arguments, streams, "usage: tempolane-cli visual < expressions",
                          [](const QString& expression, Streams out) {
                              if (const auto schedule = VisualSchedule::recognize(expression))
                                  out.out << rawValue(schedule->frequency) << u'\t'
                                          << schedule->expression() << u'\n';
                              else
                                  out.out << "none\n";
                              return int(success);
                          });
}

} // namespace Tempolane::Cli
