#include "Rules.h"
#include "ShellQuoting.h"
#include "TextContext.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

TEMPOLANE_TEXT_CONTEXT(Checks)

namespace Tempolane::Rules {

namespace {

// What the shell runs without looking for a file: dash's builtins and reserved words, and
// with bash its own as well.
bool isBuiltin(const QString& name, const QString& shellPath)
{
    static const QStringList sh{
        ".",       ":",        "[",        "alias",  "bg",    "break",   "cd",     "chdir",
        "command", "continue", "echo",     "eval",   "exec",  "exit",    "export", "false",
        "fc",      "fg",       "getopts",  "hash",   "jobs",  "kill",    "local",  "printf",
        "pwd",     "read",     "readonly", "return", "set",   "shift",   "test",   "times",
        "trap",    "true",     "type",     "ulimit", "umask", "unalias", "unset",  "wait",
        "!",       "{",        "}",        "case",   "do",    "done",    "elif",   "else",
        "esac",    "fi",       "for",      "if",     "in",    "then",    "until",  "while"};
    static const QStringList bash{
        "source",  "declare", "typeset", "let",     "shopt",    "pushd",   "popd",
        "dirs",    "disown",  "enable",  "builtin", "caller",   "compgen", "complete",
        "compopt", "coproc",  "help",    "history", "logout",   "mapfile", "readarray",
        "suspend", "bind",    "[[",      "]]",      "function", "select",  "time"};
    if (sh.contains(name))
        return true;
    const QString shell = QFileInfo(shellPath).fileName();
    return shell != u"sh" && shell != u"dash" && bash.contains(name);
}

// The word as a path or name, where the shell would make nothing else of it: "~/" and
// "$HOME/" stand for the home folder of the job's environment.
std::optional<QString> literalWord(const ShellWord& word, const QProcessEnvironment& environment)
{
    const QString home = environment.value(QStringLiteral("HOME"));
    if (!word.hasExpansion) {
        if (word.startsWithTilde && (word.value == u"~" || word.value.startsWith(u"~/")))
            return home + word.value.sliced(1);
        return word.value;
    }
    static const QRegularExpression homeVariable(
        QStringLiteral("^(?:\\$HOME|\\$\\{HOME\\})(/[^$`\\\\'\"*?\\[]*)?$"));
    const auto match = homeVariable.match(word.text);
    if (!match.hasMatch())
        return std::nullopt;
    return home + match.captured(1);
}

// A path as one shell word: as it is where nothing in it means anything to the shell.
QString shellWord(const QString& path)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./+-]+$"));
    return plain.match(path).hasMatch() ? path : quotedPath(path);
}

// A search path as a message shows it: a long one cut short.
QString shownPath(const QString& searchPath)
{
    constexpr qsizetype shown = 120;
    return searchPath.size() <= shown ? searchPath : searchPath.first(shown - 1) + u'…';
}

bool isCd(const SimpleCommand& command)
{
    return !command.words.isEmpty() && command.words.front().text == u"cd";
}

// After this command a later one may find programs elsewhere, or be something else.
bool changesLookup(const SimpleCommand& command)
{
    static const QStringList changers{".", "source", "alias", "eval", "hash", "export", "set"};
    const bool assignsAlone = command.words.isEmpty() && !command.assignments.isEmpty();
    return assignsAlone || command.isInConstruct ||
           (!command.words.isEmpty() && changers.contains(command.words.front().text));
}

// The search path the command's program is looked up in: its own PATH= before it, else the
// job's.
std::optional<QString> searchPathOf(const SimpleCommand& command,
                                    const QProcessEnvironment& environment)
{
    for (auto assignment = command.assignments.crbegin(); assignment != command.assignments.crend();
         ++assignment) {
        if (assignment->text.startsWith(u"PATH=")) {
            if (assignment->hasExpansion)
                return std::nullopt;
            return assignment->value.sliced(5);
        }
    }
    return environment.value(QStringLiteral("PATH"));
}

class ProgramCheck
{
public:
    ProgramCheck(const CheckedLine& line, const CronCommandText& cronText,
                 const ShellCommand& shell, CheckContext& context)
        : m_line(line), m_shell(shell), m_context(context), m_cronText(cronText),
          m_home(line.environment.value(QStringLiteral("HOME"))), m_folder(m_home)
    {
    }

    void run()
    {
        for (qsizetype i = 0; i < m_shell.commands.size(); ++i) {
            const SimpleCommand& command = m_shell.commands[i];
            if (i > 0 && !follows(m_shell.commands[i - 1]))
                break;
            if (command.isInConstruct)
                break;
            if (!command.words.isEmpty() && !checkProgram(command))
                return;
            if (isCd(command))
                moveTo(command);
        }
        noteRelativeFiles();
    }

private:
    // A later command is certain to run after a ";", and after a "cd" that succeeded.
    static bool follows(const SimpleCommand& previous)
    {
        if (changesLookup(previous))
            return false;
        return previous.separator == u";" || (previous.separator == u"&&" && isCd(previous));
    }

    void moveTo(const SimpleCommand& cd)
    {
        const auto folder = cd.words.size() == 2 ? literalWord(cd.words[1], m_line.environment)
                                                 : std::optional<QString>(m_home);
        m_isFolderKnown = m_isFolderKnown && folder && folder->startsWith(u'/');
        if (m_isFolderKnown)
            m_folder = *folder;
        m_hasMoved = true;
    }

    // False once a finding is made: what follows a failing program says nothing new.
    bool checkProgram(const SimpleCommand& command)
    {
        const ShellWord& word = command.words.front();
        if (word.hasGlob || word.hasBraceList)
            return true;
        const auto program = literalWord(word, m_line.environment);
        if (!program || program->isEmpty())
            return true;
        if (!program->contains(u'/'))
            return checkName(command, word, *program);
        return checkPath(word, *program);
    }

    bool checkName(const SimpleCommand& command, const ShellWord& word, const QString& name)
    {
        // bash's own words say what they are under sh themselves (shell-syntax).
        static const QStringList bashWords{"source", "[[", "function"};
        if (isBuiltin(name, m_line.environment.value(QStringLiteral("SHELL"))) ||
            bashWords.contains(name))
            return true;
        const auto searchPath = searchPathOf(command, m_line.environment);
        if (!searchPath || m_context.programs().find(name, *searchPath))
            return true;
        const auto elsewhere =
            m_context.programs().find(name, m_context.machine().account.loginPath.join(u':'));
        if (!elsewhere) {
            m_context.add(m_line, "command-not-found", Severity::error,
                          notFound(name, shownPath(*searchPath)));
            return false;
        }
        const QString folder = QFileInfo(*elsewhere).path();
        const qsizetype start = m_cronText.commandPosition(word.start);
        QString fullPath = m_line.command;
        fullPath.replace(start, m_cronText.commandPosition(word.start + word.text.size()) - start,
                         shellWord(*elsewhere));
        const QString path = m_line.environment.value(QStringLiteral("PATH"));
        m_context.add(
            m_line, "command-not-found", Severity::error,
            tr("„%1“ liegt in %2, cron sucht aber nur in %3.")
                .arg(name, folder, shownPath(*searchPath)),
            {m_context.commandFix(m_line, fullPath, tr("Vollen Pfad einsetzen"),
                                  tr("Pfad von „%1“ ergänzen").arg(name)),
             Fix{tr("PATH ergänzen"),
                 tr("PATH um %1 ergänzen").arg(folder),
                 {m_context.insertAbove(m_line, QStringLiteral("PATH=%1:%2").arg(folder, path))},
                 {}}});
        return false;
    }

    // Why a name is found nowhere, where a slip explains it: a user column copied from
    // /etc/crontab, or a time field where the command begins.
    QString notFound(const QString& name, const QString& searchPath) const
    {
        if (m_context.isAccount(name))
            return tr("„%1“ ist ein Benutzerkonto, kein Programm: eine Spalte für den Benutzer "
                      "gibt es nur in /etc/crontab und /etc/cron.d, in einer Benutzer-Crontab "
                      "beginnt dort der Befehl.")
                .arg(name);
        static const QRegularExpression field(QStringLiteral("^[0-9*/,-]+$"));
        if (field.match(name).hasMatch())
            return tr("„%1“ sieht nach einem Zeitfeld aus, steht aber, wo der Befehl beginnt: "
                      "cron sucht ein Programm „%1“ und findet keines.")
                .arg(name);
        return tr("„%1“ gibt es auf diesem Rechner nicht: weder in %2, wo cron sucht, noch in "
                  "deinem Suchpfad.")
            .arg(name, searchPath);
    }

    bool checkPath(const ShellWord& word, const QString& written)
    {
        const bool isRelative = !written.startsWith(u'/');
        if (isRelative && !m_isFolderKnown)
            return true;
        const QString path = QDir::cleanPath(isRelative ? m_folder + u'/' + written : written);
        const FileStatus file = m_context.status(path);
        const auto notExecutable = [&](const QString& message, QList<Fix> fixes = {}) {
            m_context.add(m_line, "not-executable", Severity::error, message, std::move(fixes));
            return false;
        };
        switch (file.kind) {
        case FileStatus::Kind::missing:
            return notExecutable(
                isRelative ? tr("„%1“ gibt es nicht: cron sucht es in %2.").arg(word.text, path)
                           : tr("„%1“ gibt es nicht.").arg(path));
        case FileStatus::Kind::unreachable:
            return notExecutable(tr("„%1“ ist nicht erreichbar: ein Ordner auf dem Weg darf "
                                    "nicht betreten werden, oder Verknüpfungen führen im Kreis.")
                                     .arg(path));
        case FileStatus::Kind::directory:
            return notExecutable(tr("„%1“ ist ein Ordner, kein Programm.").arg(path));
        case FileStatus::Kind::special:
            return notExecutable(
                tr("„%1“ ist keine Datei, sondern ein Gerät, eine Pipe oder ein Socket.")
                    .arg(path));
        case FileStatus::Kind::regular:
            break;
        }
        if (!file.isExecutable) {
            QList<Fix> fixes;
            if (file.isOwnedByUser)
                fixes.append({tr("Ausführbar machen"),
                              tr("„%1“ ausführbar machen").arg(QFileInfo(path).fileName()),
                              {},
                              path});
            return notExecutable(
                tr("„%1“ ist nicht ausführbar: der Job scheitert mit „Permission denied“.")
                    .arg(path),
                fixes);
        }
        if (const auto problem = startProblem(path))
            return notExecutable(*problem);
        if (isRelative && !m_hasMoved && !m_hasRelativeNote) {
            m_hasRelativeNote = true;
            m_context.add(m_line, "relative-path", Severity::hint,
                          tr("„%1“ wird im Persönlichen Ordner gesucht (%2): cron startet dort.")
                              .arg(written, path));
        }
        return true;
    }

    // Why the system cannot start the file, by its first bytes.
    std::optional<QString> startProblem(const QString& path)
    {
        constexpr qsizetype examined = 256;
        const auto head = m_context.programs().head(path, examined);
        if (!head)
            return std::nullopt;
        if (head->startsWith("#!"))
            return interpreterProblem(path, *head);
        if (head->startsWith("\x7f"
                             "ELF"))
            return std::nullopt;
        // Without "#!" the shell reads the file as its own text.
        if (head->contains('\0'))
            return tr("„%1“ ist eine Binärdatei, die dieses System nicht starten kann.").arg(path);
        if (head->startsWith("<?php"))
            return tr("„%1“ ist ein PHP-Programm ohne #!-Zeile: sh liest es als Shell-Text, und "
                      "der Job scheitert.")
                .arg(path);
        static const QRegularExpression python(
            QStringLiteral("^\\s*(import [A-Za-z_]|from [A-Za-z_.]+ import )"));
        if (python.match(QString::fromUtf8(*head)).hasMatch())
            return tr("„%1“ ist ein Python-Programm ohne #!-Zeile: sh liest es als Shell-Text, "
                      "und der Job scheitert.")
                .arg(path);
        return std::nullopt;
    }

    std::optional<QString> interpreterProblem(const QString& path, const QByteArray& head)
    {
        const qsizetype end = head.indexOf('\n');
        const QByteArray firstLine = end < 0 ? head : head.first(end);
        const QList<QByteArray> words = firstLine.sliced(2).simplified().split(' ');
        const QString interpreter = QString::fromUtf8(words.value(0));
        if (firstLine.endsWith('\r'))
            return tr("Die erste Zeile von „%1“ endet mit einem Wagenrücklauf "
                      "(Windows-Zeilenende): das System sucht „%2\\r“ und findet es nicht.")
                .arg(path, QString::fromUtf8(words.back()).remove(u'\r'));
        const FileStatus file = m_context.status(interpreter);
        if (file.kind != FileStatus::Kind::regular || !file.isExecutable)
            return tr("„%1“ nennt in seiner ersten Zeile „%2“, das es nicht gibt oder das nicht "
                      "ausführbar ist.")
                .arg(path, interpreter);
        if (QFileInfo(interpreter).fileName() != u"env" || words.size() < 2 ||
            words[1].startsWith('-') || words[1].contains('/') || words[1].contains('='))
            return std::nullopt;
        const QString program = QString::fromUtf8(words[1]);
        const QString searchPath = m_line.environment.value(QStringLiteral("PATH"));
        if (m_context.programs().find(program, searchPath))
            return std::nullopt;
        return tr("„%1“ lässt „env“ das Programm „%2“ suchen, das es in %3, wo cron sucht, nicht "
                  "gibt.")
            .arg(path, program, shownPath(searchPath));
    }

    // Files read or written by a name that cron takes from the home folder.
    void noteRelativeFiles()
    {
        if (m_hasRelativeNote || m_hasMoved)
            return;
        for (const SimpleCommand& command : m_shell.commands) {
            if (isCd(command))
                return;
            for (const ShellRedirection& redirection : command.redirections) {
                if (redirection.operation.contains(u'&') && redirection.operation != u"&>")
                    continue;
                if (redirection.operation.startsWith(u"<<"))
                    continue;
                if (noteIfRelative(redirection.target))
                    return;
            }
            for (qsizetype i = 1; i < command.words.size(); ++i) {
                const ShellWord& word = command.words[i];
                if (!word.hasExpansion &&
                    (word.value.startsWith(u"./") || word.value.startsWith(u"../")) &&
                    noteIfRelative(word))
                    return;
            }
        }
    }

    bool noteIfRelative(const ShellWord& word)
    {
        if (word.hasExpansion || word.startsWithTilde || word.value.isEmpty() ||
            word.value.startsWith(u'/'))
            return false;
        m_hasRelativeNote = true;
        m_context.add(m_line, "relative-path", Severity::hint,
                      tr("„%1“ liegt im Persönlichen Ordner (%2): cron startet dort, nicht im "
                         "Ordner des Programms.")
                          .arg(word.value, m_home + u'/' + word.value));
        return true;
    }

    const CheckedLine& m_line;
    const ShellCommand& m_shell;
    CheckContext& m_context;
    const CronCommandText& m_cronText;
    QString m_home;
    QString m_folder;
    bool m_isFolderKnown = true;
    bool m_hasMoved = false;
    bool m_hasRelativeNote = false;
};

// Programs that talk to the desktop session, which cron's jobs know nothing of.
bool needsSession(const QString& program)
{
    static const QStringList programs{"notify-send", "zenity",  "kdialog", "xdg-open", "gio",
                                      "gsettings",   "xdotool", "paplay",  "dbus-send"};
    return programs.contains(program);
}

// The program a command runs, past nice, nohup, env and their arguments.
std::optional<QString> programRun(const SimpleCommand& command)
{
    static const QStringList wrappers{"nice", "nohup", "env", "timeout", "ionice", "sudo"};
    for (const ShellWord& word : command.words) {
        if (word.hasExpansion)
            return std::nullopt;
        const QString name = QFileInfo(word.value).fileName();
        if (wrappers.contains(name) || word.value.startsWith(u'-') || word.isAssignment() ||
            (!name.isEmpty() && name.front().isDigit()))
            continue;
        return name;
    }
    return std::nullopt;
}

void desktopSession(const CheckedLine& line, const ShellCommand& shell, CheckContext& context)
{
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS"}) {
        if (line.environment.contains(QString::fromLatin1(variable)))
            return;
    }
    // The command may find the session itself.
    for (const QStringView variable :
         {u"DISPLAY", u"DBUS_SESSION_BUS_ADDRESS", u"XDG_RUNTIME_DIR"}) {
        if (line.command.contains(variable))
            return;
    }
    for (const SimpleCommand& command : shell.commands) {
        const auto program = programRun(command);
        if (!program || !needsSession(*program))
            continue;
        const QString bus = QStringLiteral("DBUS_SESSION_BUS_ADDRESS=unix:path=/run/user/%1/bus")
                                .arg(context.machine().account.uid);
        context.add(line, "desktop-session", Severity::warning,
                    tr("„%1“ braucht die Desktop-Sitzung, aber cron gibt dem Job weder DISPLAY "
                       "noch DBUS_SESSION_BUS_ADDRESS: es findet keine Sitzung, und nichts "
                       "erscheint.")
                        .arg(*program),
                    {Fix{tr("Sitzungsbus eintragen"),
                         tr("Sitzungsbus für „%1“ eintragen").arg(*program),
                         {context.insertAbove(line, bus)},
                         {}}});
        return;
    }
}

} // namespace

void programs(const CheckedLine& line, const CronCommandText& cronText, const ShellCommand& shell,
              CheckContext& context)
{
    ProgramCheck(line, cronText, shell, context).run();
    desktopSession(line, shell, context);
}

} // namespace Tempolane::Rules
