#include "MonitoringCommandLine.h"
#include "Rules.h"
#include "TextContext.h"

#include <QFileInfo>

TEMPOLANE_TEXT_CONTEXT(Checks)

namespace Tempolane::Rules {

namespace {

const QString mailProgram = QStringLiteral("/usr/sbin/sendmail");

bool isPlainSh(const QString& shellPath)
{
    const QString shell = QFileInfo(shellPath).fileName();
    return shell == u"sh" || shell == u"dash";
}

struct Construct
{
    QString construct;
    bool fails;
    const char* explanation;
};

// What sh makes of each construct that only bash knows, measured with dash.
const Construct* constructOf(const QString& written)
{
    static const std::array<Construct, 6> constructs{{
        {QStringLiteral("[["), true,
         QT_TRANSLATE_NOOP("Checks", "„[[ … ]]“ kennt sh nicht: der Befehl scheitert mit "
                                     "„[[: not found“; sh versteht „[ … ]“.")},
        {QStringLiteral("source"), true,
         QT_TRANSLATE_NOOP("Checks", "„source“ kennt sh nicht; sh versteht „.“.")},
        {QStringLiteral("<<<"), true,
         QT_TRANSLATE_NOOP("Checks", "„<<<“ ist in sh ein Syntaxfehler; sh versteht "
                                     "„printf '%s\\n' … |“.")},
        {QStringLiteral("function"), true,
         QT_TRANSLATE_NOOP("Checks", "„function“ ist in sh ein Syntaxfehler; sh versteht "
                                     "„name() { …; }“.")},
        {QStringLiteral("&>"), false,
         QT_TRANSLATE_NOOP("Checks", "„&>“ schickt in sh den Befehl in den Hintergrund und "
                                     "leert die Datei nur; sh versteht „>datei 2>&1“.")},
        {QStringLiteral("{a,b}"), false,
         QT_TRANSLATE_NOOP("Checks", "„{a,b}“ bleibt in sh stehen, wie es ist: sh erweitert "
                                     "keine Klammerlisten.")},
    }};
    for (const Construct& construct : constructs) {
        if (construct.construct == written)
            return &construct;
    }
    return nullptr;
}

void shellSyntax(const CheckedLine& line, const ShellCommand& shell, CheckContext& context)
{
    const QString shellPath = line.environment.value(QStringLiteral("SHELL"));
    if (shell.bashOnly.isEmpty() || !isPlainSh(shellPath))
        return;
    QStringList explanations;
    bool fails = false;
    for (const QString& written : shell.bashOnly) {
        const Construct* construct = constructOf(written);
        explanations.append(tr(construct->explanation));
        fails = fails || construct->fails;
    }
    QList<Fix> fixes;
    const QString bash = QStringLiteral("/bin/bash");
    const FileStatus bashFile = context.status(bash);
    if (bashFile.kind == FileStatus::Kind::regular && bashFile.isExecutable)
        fixes.append({tr("bash verwenden"),
                      tr("SHELL=/bin/bash über „%1“ eintragen").arg(line.name()),
                      {context.insertAbove(line, QStringLiteral("SHELL=") + bash)},
                      {}});
    context.add(
        line, "shell-syntax", fails ? Severity::error : Severity::warning,
        tr("cron startet den Job mit %1, das bash-Schreibweisen nicht kennt.").arg(shellPath) +
            u' ' + explanations.join(u' '),
        fixes);
}

// Standard output and error each go to a file, or to a program that keeps them.
bool keepsOutput(const ShellCommand& shell, bool isBash)
{
    bool keepsOut = false;
    bool keepsError = false;
    for (const SimpleCommand& command : shell.commands) {
        for (const ShellRedirection& redirection : command.redirections) {
            if (redirection.operation.startsWith(u'<'))
                continue;
            if (redirection.descriptor == -1 && isBash)
                keepsOut = keepsError = true;
            keepsOut = keepsOut || redirection.descriptor == 1;
            keepsError = keepsError || redirection.descriptor == 2;
        }
    }
    static const QStringList keepers{"logger", "systemd-cat", "mail", "mailx", "sendmail"};
    const SimpleCommand& last = shell.commands.back();
    const bool isPipedToKeeper =
        shell.commands.size() > 1 && shell.commands[shell.commands.size() - 2].separator == u"|" &&
        !last.words.isEmpty() && keepers.contains(QFileInfo(last.words.front().value).fileName());
    return (keepsOut || isPipedToKeeper) && keepsError;
}

void outputLost(const CheckedLine& line, const ShellCommand& shell, CheckContext& context)
{
    if (line.isMonitored || shell.commands.isEmpty())
        return;
    const QString mailTo = QStringLiteral("MAILTO");
    if (line.environment.contains(mailTo) && line.environment.value(mailTo).isEmpty())
        return;
    const FileStatus mailer = context.status(mailProgram);
    if (mailer.kind == FileStatus::Kind::regular && mailer.isExecutable)
        return;
    const QString shellPath = line.environment.value(QStringLiteral("SHELL"));
    if (keepsOutput(shell, !isPlainSh(shellPath)))
        return;

    QList<Fix> fixes;
    if (line.job &&
        !MonitoringCommandLine::monitoringIssue(line.job->command, context.quotedRunner())) {
        CronJob monitored = *line.job;
        monitored.isMonitoringEnabled = true;
        monitored.logPolicy = ExecutionLogPolicy::messagesAndErrors;
        fixes.append(context.jobFix(line, monitored, tr("Überwachen"),
                                    tr("Ausführungsstatus für „%1“ aktivieren").arg(line.name())));
    }
    if (shell.commands.size() == 1 && CronCommandText::of(line.command).cut < 0)
        fixes.append(
            context.commandFix(line, line.command + QStringLiteral(" >>\"$HOME/cron.log\" 2>&1"),
                               tr("In ~/cron.log schreiben"),
                               tr("Ausgabe von „%1“ in ~/cron.log schreiben").arg(line.name())));
    context.add(line, "output-lost", Severity::warning,
                tr("Was der Job ausgibt, geht verloren: cron würde es per Mail schicken, aber "
                   "auf diesem Rechner ist kein Mailprogramm installiert (%1 fehlt).")
                    .arg(mailProgram),
                fixes);
}

} // namespace

void shell(const CheckedLine& line, const ShellCommand& shell, CheckContext& context)
{
    shellSyntax(line, shell, context);
    outputLost(line, shell, context);
}

} // namespace Tempolane::Rules
