#include "CronEnvironment.h"
#include "CronExpression.h"
#include "CronText.h"
#include "MonitoringCommandLine.h"
#include "Rules.h"
#include "TextContext.h"

#include <QRegularExpression>

TEMPOLANE_TEXT_CONTEXT(Checks)

namespace Tempolane::Rules {

namespace {

// "$NAME", "${NAME}", and "~" at the start of the value or of a PATH entry.
const QRegularExpression& reference()
{
    static const QRegularExpression pattern(
        QStringLiteral("\\$\\{([A-Za-z_][A-Za-z0-9_]*)\\}|\\$([A-Za-z_][A-Za-z0-9_]*)|"
                       "(?:^|(?<=:))~(?=/|:|$)"));
    return pattern;
}

// The value with every reference replaced by what the lines above give it; nothing when a
// reference names what they do not.
std::optional<QString> resolved(const QString& value, const QProcessEnvironment& above)
{
    QString result;
    qsizetype copied = 0;
    auto matches = reference().globalMatch(value);
    while (matches.hasNext()) {
        const auto match = matches.next();
        QString name = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
        if (match.captured(0) == u"~")
            name = QStringLiteral("HOME");
        if (!above.contains(name))
            return std::nullopt;
        result += value.sliced(copied, match.capturedStart() - copied) + above.value(name);
        copied = match.capturedEnd();
    }
    return result + value.sliced(copied);
}

void unexpanded(qsizetype index, const EnvironmentAssignment& assigned,
                const QProcessEnvironment& above, CheckContext& context)
{
    if (!reference().match(assigned.value).hasMatch())
        return;
    QList<Fix> fixes;
    if (const auto value = resolved(assigned.value, above)) {
        QString line = context.lines()[index];
        const qsizetype at = line.lastIndexOf(assigned.value);
        line.replace(at, assigned.value.size(), *value);
        fixes.append({tr("Werte einsetzen"),
                      tr("Werte in %1 einsetzen").arg(assigned.name),
                      {context.replaceLine(index, line)},
                      {}});
    }
    context.add(index, "assignment", Severity::warning,
                tr("cron setzt in Zuweisungen keine Variablen und kein „~“ ein: %1 bekommt "
                   "wörtlich „%2“.")
                    .arg(assigned.name, assigned.value),
                fixes);
}

void comment(qsizetype index, const EnvironmentAssignment& assigned, CheckContext& context)
{
    static const QRegularExpression comment(QStringLiteral("[ \\t]+#"));
    const auto match = comment.match(assigned.value);
    if (!match.hasMatch())
        return;
    const QString value = assigned.value.first(match.capturedStart());
    const QString line = context.lines()[index];
    const qsizetype at = line.lastIndexOf(assigned.value);
    context.add(index, "assignment", Severity::warning,
                tr("„#“ beginnt in einer Zuweisung keinen Kommentar: %1 bekommt wörtlich „%2“.")
                    .arg(assigned.name, assigned.value),
                {{tr("Kommentar darüber setzen"),
                  tr("Kommentar aus %1 lösen").arg(assigned.name),
                  {{index,
                    line,
                    {QStringLiteral("# ") + assigned.value.sliced(match.capturedEnd()).trimmed(),
                     line.first(at) + value}}},
                  {}}});
}

void shellFile(qsizetype index, const EnvironmentAssignment& assigned, CheckContext& context)
{
    if (assigned.name != u"SHELL")
        return;
    const FileStatus shell = context.status(assigned.value);
    if (shell.kind == FileStatus::Kind::regular && shell.isExecutable)
        return;
    context.add(index, "assignment", Severity::error,
                tr("„%1“ gibt es nicht oder ist nicht ausführbar: cron kann die Jobs darunter "
                   "nicht starten.")
                    .arg(assigned.value));
}

// cron keeps only the first bytes of a long assignment: a PATH cut there loses its last
// folders, and commands found there become "not found" without a visible reason.
void cut(qsizetype index, const EnvironmentAssignment& assigned, CheckContext& context)
{
    const QString line = context.lines()[index].trimmed();
    if (line.toUtf8().size() <= CronEnvironment::assignmentBytes)
        return;
    context.add(index, "assignment", Severity::warning,
                tr("cron liest von einer Zuweisung nur die ersten %1 Bytes: %2 endet bei "
                   "„%3“, der Rest der Zeile geht verloren.")
                    .arg(CronEnvironment::assignmentBytes)
                    .arg(assigned.name, assigned.value.right(40)));
}

} // namespace

void assignment(qsizetype index, const EnvironmentAssignment& assigned,
                const QProcessEnvironment& above, CheckContext& context)
{
    cut(index, assigned, context);
    unexpanded(index, assigned, above, context);
    comment(index, assigned, context);
    shellFile(index, assigned, context);
}

void refusedLine(qsizetype index, const CronJobLine::Refusal& refusal, CheckContext& context)
{
    const QString& line = context.lines()[index];
    static const QRegularExpression emptyAssignment(
        QStringLiteral("^[ \\t]*([A-Za-z_][A-Za-z0-9_]*)[ \\t]*=[ \\t\\r]*$"));
    if (const auto match = emptyAssignment.match(line); match.hasMatch()) {
        const QString name = match.captured(1);
        context.add(index, "assignment", Severity::error,
                    tr("„%1=“ ohne Wert nimmt crontab nicht an und verweigert die ganze Datei; "
                       "für einen leeren Wert schreibe %1=\"\".")
                        .arg(name),
                    {{tr("Leeren Wert schreiben"),
                      tr("%1=\"\" schreiben").arg(name),
                      {context.replaceLine(index, name + QStringLiteral("=\"\""))},
                      {}}});
        return;
    }
    static const QRegularExpression quotedAssignment(
        QStringLiteral("^[ \\t]*[A-Za-z_][A-Za-z0-9_]*[ \\t]*=[ \\t]*[\"']"));
    if (quotedAssignment.match(line).hasMatch()) {
        context.add(index, "assignment", Severity::error,
                    tr("cron liest „%1“ nicht als Zuweisung, denn nach dem Wert in "
                       "Anführungszeichen darf nichts mehr stehen; crontab verweigert die ganze "
                       "Datei.")
                        .arg(line.trimmed()));
        return;
    }
    const auto fields = CronText::splitAtBlanks(line);
    QString reason;
    switch (refusal.reason) {
    case CronJobLine::Refusal::Reason::field: {
        QStringList schedule;
        for (const QStringView field : fields.mid(0, 5))
            schedule.append(field.toString());
        reason = CronExpression::validationMessage(schedule.join(u' '))
                     .value_or(tr("%1: cron liest dieses Feld nicht.").arg(title(refusal.field)));
        break;
    }
    case CronJobLine::Refusal::Reason::shortcut:
        reason = CronExpression::validationMessage(fields.front()).value_or(QString());
        break;
    case CronJobLine::Refusal::Reason::fewerFields:
        reason = tr("Ein Cron-Zeitplan braucht genau fünf Felder.");
        break;
    case CronJobLine::Refusal::Reason::starCommand:
        reason = tr("Der Befehl beginnt mit „*“, was crontab für ein sechstes Zeitfeld hält.");
        break;
    case CronJobLine::Refusal::Reason::longCommand:
        reason = tr("Der Befehl ist länger als %1 Bytes, mehr nimmt crontab nicht an.")
                     .arg(MonitoringCommandLine::maximumCommandFieldBytes);
        break;
    }
    context.add(index, "crontab-refuses", Severity::error,
                tr("crontab nimmt die Datei wegen dieser Zeile nicht an: %1").arg(reason));
}

} // namespace Tempolane::Rules
