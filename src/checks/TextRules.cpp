#include "Rules.h"
#include "TextContext.h"

#include <QFileInfo>

TEMPOLANE_TEXT_CONTEXT(Checks)

namespace Tempolane::Rules {

namespace {

// Programs that read what they are given: for them text after a "%" is most likely meant as
// their input.
bool readsInput(const ShellCommand& shell)
{
    static const QStringList readers{"mail",  "mailx", "mutt", "sendmail", "msmtp", "wall",
                                     "write", "cat",   "tee",  "at",       "batch", "logger",
                                     "sh",    "bash",  "dash", "bc",       "psql",  "mysql"};
    if (shell.commands.isEmpty() || shell.commands.back().words.isEmpty())
        return false;
    const ShellWord& program = shell.commands.back().words.front();
    return !program.hasExpansion && readers.contains(QFileInfo(program.value).fileName());
}

// The end of a long text, where cron cut it.
QString shortened(QString text)
{
    constexpr qsizetype shown = 48;
    text = text.trimmed();
    if (text.size() > shown)
        text = u'…' + text.last(shown - 1);
    return text;
}

// Every "%" that cron would cut at, written "\%".
QString escapedPercents(const QString& command)
{
    QString escaped;
    bool isEscaped = false;
    for (const QChar c : command) {
        if (c == u'%' && !isEscaped)
            escaped += u'\\';
        isEscaped = c == u'\\' && !isEscaped;
        escaped += c;
    }
    return escaped;
}

} // namespace

void percent(const CheckedLine& line, const CronCommandText& cronText, const ShellCommand& shell,
             CheckContext& context)
{
    // A monitored job's command stands encoded in the line: cron sees no "%" of it.
    if (line.isMonitored || cronText.cut < 0)
        return;
    const QString ran = shortened(cronText.shellText);
    const QList<Fix> fixes{context.commandFix(line, escapedPercents(line.command),
                                              tr("\\% schreiben"), tr("Prozentzeichen schützen"))};
    if (!shell.isComplete) {
        context.add(line, "percent", Severity::error,
                    tr("cron beendet den Befehl beim ersten „%“: die Shell bekommt nur „%1“, "
                       "in dem ein Anführungszeichen oder eine Klammer offen bleibt, und der Job "
                       "scheitert.")
                        .arg(ran),
                    fixes);
    } else if (readsInput(shell)) {
        context.add(line, "percent", Severity::hint,
                    tr("cron gibt den Text nach dem ersten „%“ an „%1“ als Eingabe weiter, jedes "
                       "weitere „%“ als Zeilenumbruch.")
                        .arg(QFileInfo(shell.commands.back().words.front().value).fileName()));
    } else {
        context.add(line, "percent", Severity::warning,
                    tr("cron beendet den Befehl beim ersten „%“: es läuft nur „%1“, der Rest "
                       "kommt als Eingabe. Für ein Prozentzeichen schreibe „\\%“.")
                        .arg(ran),
                    fixes);
    }
}

void lineEnding(const CheckedLine& line, const ShellCommand& shell, CheckContext& context,
                const Fix& repair)
{
    if (!line.endsWithCarriageReturn)
        return;
    QString last;
    if (!shell.commands.isEmpty() && !shell.commands.back().words.isEmpty())
        last = shell.commands.back().words.back().text;
    context.add(line, "line-ending", Severity::error,
                last.isEmpty()
                    ? tr("Die Zeile endet mit einem Wagenrücklauf (Windows-Zeilenende): cron gibt "
                         "ihn der Shell als Teil des Befehls, und der Job scheitert.")
                    : tr("Die Zeile endet mit einem Wagenrücklauf (Windows-Zeilenende): cron gibt "
                         "ihn der Shell als Teil des Befehls, die dann „%1\\r“ statt „%1“ liest, "
                         "und der Job scheitert.")
                          .arg(shortened(last)),
                {repair});
}

} // namespace Tempolane::Rules
