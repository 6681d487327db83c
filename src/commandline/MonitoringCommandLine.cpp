#include "MonitoringCommandLine.h"

#include "CanonicalUuid.h"
#include "CronText.h"
#include "Utf8.h"

#include <QCoreApplication>
#include <span>

namespace Tempolane {

namespace {

bool isStrictBase64(QStringView text)
{
    if (text.size() % 4 != 0)
        return false;
    qsizetype padding = 0;
    while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == u'=')
        ++padding;
    for (const QChar c : text.first(text.size() - padding)) {
        const char16_t u = c.unicode();
        const bool inAlphabet = (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') ||
                                (u >= u'0' && u <= u'9') || u == u'+' || u == u'/';
        if (!inAlphabet)
            return false;
    }
    return true;
}

std::optional<QString> decodeStrictBase64Utf8(QStringView text)
{
    if (!isStrictBase64(text))
        return std::nullopt;
    const auto decoded =
        QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return Utf8::decode(*decoded);
}

// The words before the arguments, joined by single blanks, must be the runner's quoted name;
// they are compared in place, since most lines of a large crontab come this way.
bool isRunnerName(std::span<const QStringView> words, QStringView quotedRunner)
{
    qsizetype position = 0;
    for (const QStringView word : words) {
        if (position > 0) {
            if (position >= quotedRunner.size() || quotedRunner[position] != u' ')
                return false;
            ++position;
        }
        if (!quotedRunner.sliced(position).startsWith(word))
            return false;
        position += word.size();
    }
    return position == quotedRunner.size();
}

} // namespace

namespace MonitoringCommandLine {

QStringList runnerArguments(const QUuid& id, ExecutionLogPolicy policy, const QString& command)
{
    return {canonicalText(id), rawValue(policy), QString::fromLatin1(command.toUtf8().toBase64())};
}

QString executedCommand(const QString& command)
{
    if (cronKnowsBatteryPrefix && command.startsWith(batteryPrefix))
        return command.sliced(batteryPrefix.size());
    return command;
}

QString wrappedCommand(const QUuid& id, ExecutionLogPolicy policy, const QString& command,
                       QStringView quotedRunner)
{
    const QString executed = executedCommand(command);
    QString wrapped = executed.size() < command.size() ? batteryPrefix.toString() : QString();
    wrapped += quotedRunner;
    return wrapped + u' ' + runnerArguments(id, policy, executed).join(u' ');
}

std::optional<UnwrappedCommand> unwrapCommand(const QString& commandLine, QStringView quotedRunner)
{
    const bool hasBatteryPrefix = commandLine.startsWith(batteryPrefix);
    const QStringView rest =
        hasBatteryPrefix ? QStringView(commandLine).sliced(batteryPrefix.size()) : commandLine;
    // The runner path is always quoted: most commands are told apart by their first character.
    const QStringView trimmedRest = rest.trimmed();
    if (!trimmedRest.startsWith(u'\''))
        return std::nullopt;
    const auto pieces = CronText::splitAtWhitespace(trimmedRest);
    if (pieces.size() < 4)
        return std::nullopt;

    const auto count = pieces.size();
    const auto id = parseCanonicalUuid(pieces[count - 3]);
    const auto policy = executionLogPolicyFromRawValue(pieces[count - 2]);
    if (!id || !policy)
        return std::nullopt;
    const auto command = decodeStrictBase64Utf8(pieces[count - 1]);
    if (!command)
        return std::nullopt;

    if (!isRunnerName(std::span(pieces.cbegin(), pieces.cend() - 3), quotedRunner))
        return std::nullopt;

    return UnwrappedCommand{*id, *policy,
                            (hasBatteryPrefix ? batteryPrefix.toString() : QString()) + *command};
}

std::optional<QString> compatibilityIssue(const QString& command)
{
    bool escaped = false;
    for (const QChar c : command) {
        if (c == u'%' && !escaped) {
            return QCoreApplication::translate(
                "ExecutionService", "Dieser Befehl verwendet ein ungeschütztes Prozentzeichen. "
                                    "Deaktiviere den Ausführungsstatus oder schreibe \\% statt %.");
        }
        escaped = c == u'\\' ? !escaped : false;
    }
    return std::nullopt;
}

std::optional<QString> lengthIssue(const QString& command, QStringView quotedRunner)
{
    // "errors" is the longest policy word; every id has the same length.
    const QString longest =
        wrappedCommand(QUuid(), ExecutionLogPolicy::errorsOnly, command, quotedRunner);
    if (longest.toUtf8().size() <= maximumCommandFieldBytes)
        return std::nullopt;
    return QCoreApplication::translate("ExecutionService",
                                       "Dieser Befehl ist zu lang für den Ausführungsstatus. "
                                       "Deaktiviere den Ausführungsstatus oder kürze den Befehl.");
}

std::optional<QString> monitoringIssue(const QString& command, QStringView quotedRunner)
{
    if (auto issue = compatibilityIssue(command))
        return issue;
    return lengthIssue(command, quotedRunner);
}

} // namespace MonitoringCommandLine

} // namespace Tempolane
