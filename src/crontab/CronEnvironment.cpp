#include "CronEnvironment.h"

#include <QFileInfo>

namespace Tempolane::CronEnvironment {

namespace {

// pam_env gives up on a file at a line longer than its buffer; the same bound keeps a hostile
// file from costing more than a few pages per line or value.
constexpr qsizetype lineLimit = 8192;
// Entries of the PAM configuration that are followed; more are ignored.
constexpr int entryLimit = 16;

const QString defaultSettingsFile = QStringLiteral("/etc/security/pam_env.conf");
const QString defaultEnvironmentFile = QStringLiteral("/etc/environment");

bool isCronSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

bool isPamSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

qsizetype skipCronSpace(QStringView text, qsizetype i)
{
    while (i < text.size() && isCronSpace(text[i]))
        ++i;
    return i;
}

qsizetype skipPamSpace(const QByteArray& text, qsizetype i)
{
    while (i < text.size() && isPamSpace(text[i]))
        ++i;
    return i;
}

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

QString decoded(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes);
}

// pam_env's line reading: a "#" ends the line's content, blank and comment lines are skipped,
// a backslash at the end (before trailing blanks) joins the next line, and an overlong line,
// a NUL byte or a joined line cut off by the end of the file ends the reading.
QList<QByteArray> logicalLines(const QByteArray& text)
{
    QList<QByteArray> lines;
    QByteArray joined;
    for (const QByteArray& line : text.split('\n')) {
        if (line.size() >= lineLimit || line.contains('\0'))
            break;
        const qsizetype start = skipPamSpace(line, 0);
        if (start == line.size() || line[start] == '#')
            continue;
        const qsizetype hash = line.indexOf('#');
        if (hash >= 0) {
            lines.append(joined + line.first(hash));
            joined.clear();
            continue;
        }
        QByteArray trimmed = line;
        while (trimmed.endsWith(' ') || trimmed.endsWith('\t'))
            trimmed.chop(1);
        if (trimmed.endsWith('\\')) {
            joined += trimmed.chopped(1);
            if (joined.size() >= lineLimit)
                break;
            continue;
        }
        lines.append(joined + line);
        joined.clear();
    }
    return lines;
}

bool isPamName(const QByteArray& name)
{
    for (char c : name) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '_'))
            return false;
    }
    return true;
}

// An environment file of NAME=VALUE lines, such as /etc/environment or /etc/default/locale.
void readEnvironmentFile(const QByteArray& text, QProcessEnvironment& environment)
{
    const QByteArray exportPrefix = QByteArrayLiteral("export ");
    for (const QByteArray& line : logicalLines(text)) {
        QByteArray entry = line.sliced(skipPamSpace(line, 0));
        if (entry.startsWith(exportPrefix))
            entry = entry.sliced(exportPrefix.size());
        const qsizetype equals = entry.indexOf('=');
        const QByteArray name = equals < 0 ? entry : entry.first(equals);
        if (name.isEmpty() || !isPamName(name))
            continue;
        if (equals < 0) {
            environment.remove(decoded(name));
            continue;
        }
        QByteArray rawValue = entry.sliced(equals + 1);
        QByteArray value;
        if (rawValue.startsWith('"') || rawValue.startsWith('\'')) {
            // Quotes are dropped at both ends; one inside stays as it is.
            rawValue = rawValue.sliced(1);
            for (qsizetype i = 0; i < rawValue.size(); ++i) {
                const bool isLastQuote =
                    (rawValue[i] == '"' || rawValue[i] == '\'') && i + 1 == rawValue.size();
                if (!isLastQuote)
                    value += rawValue[i];
            }
        } else {
            value = rawValue;
        }
        environment.insert(decoded(name), decoded(value));
    }
}

// "${NAME}" from the variables set so far, "@{HOME}" and "@{SHELL}" from the account and a
// backslash before "$" or "@" for the character itself. Nothing for an unterminated reference.
std::optional<QByteArray> expanded(const QByteArray& value, const QProcessEnvironment& environment,
                                   const Account& account)
{
    QByteArray result;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\\' && i + 1 < value.size() && (value[i + 1] == '$' || value[i + 1] == '@')) {
            result += value[++i];
        } else if ((c == '$' || c == '@') && i + 1 < value.size() && value[i + 1] == '{') {
            const qsizetype close = value.indexOf('}', i + 2);
            if (close < 0)
                return std::nullopt;
            const QString name = decoded(value.sliced(i + 2, close - i - 2));
            if (c == '$')
                result += environment.value(name).toUtf8();
            else if (name == u"HOME")
                result += account.home.toUtf8();
            else if (name == u"SHELL")
                result += account.shell.toUtf8();
            else if (name == u"PAM_USER")
                result += account.name.toUtf8();
            i = close;
        } else {
            result += c;
        }
        if (result.size() > lineLimit)
            return std::nullopt;
    }
    return result;
}

// A settings file of "NAME [DEFAULT=value] [OVERRIDE=value]" lines, such as
// /etc/security/pam_env.conf: the override where it expands to something, else the default
// where that does, else the variable is removed.
void readSettingsFile(const QByteArray& text, QProcessEnvironment& environment,
                      const Account& account)
{
    const QByteArray defaultOption = QByteArrayLiteral("DEFAULT=");
    const QByteArray overrideOption = QByteArrayLiteral("OVERRIDE=");
    for (const QByteArray& line : logicalLines(text)) {
        const QByteArray& view = line;
        qsizetype i = skipPamSpace(view, 0);
        const qsizetype nameStart = i;
        while (i < view.size() && !isPamSpace(view[i]))
            ++i;
        const QString name = decoded(view.sliced(nameStart, i - nameStart));
        QByteArray options[2];
        bool isReadable = true;
        while ((i = skipPamSpace(view, i)) < view.size()) {
            const QByteArray rest = view.sliced(i);
            const int option = rest.startsWith(defaultOption)    ? 0
                               : rest.startsWith(overrideOption) ? 1
                                                                 : -1;
            if (option < 0) {
                isReadable = false;
                break;
            }
            i += option == 0 ? defaultOption.size() : overrideOption.size();
            if (i < view.size() && view[i] == '"') {
                const qsizetype close = view.indexOf('"', i + 1);
                const qsizetype end = close < 0 ? view.size() : close;
                options[option] = view.sliced(i + 1, end - i - 1);
                i = close < 0 ? end : close + 1;
            } else {
                const qsizetype start = i;
                while (i < view.size() && !isPamSpace(view[i]))
                    ++i;
                options[option] = view.sliced(start, i - start);
            }
        }
        if (!isReadable || name.isEmpty())
            continue;
        const auto override = expanded(options[1], environment, account);
        const auto fallback = expanded(options[0], environment, account);
        if (!override || !fallback)
            continue;
        if (!override->isEmpty())
            environment.insert(name, decoded(*override));
        else if (!fallback->isEmpty())
            environment.insert(name, decoded(*fallback));
        else
            environment.remove(name);
    }
}

// The words of a PAM configuration line; a bracketed control such as "[default=1]" is one word.
QList<QByteArray> pamWords(const QByteArray& line)
{
    QList<QByteArray> words;
    qsizetype i = 0;
    while ((i = skipPamSpace(line, i)) < line.size()) {
        const qsizetype start = i;
        if (line[i] == '[') {
            const qsizetype close = line.indexOf(']', i);
            i = close < 0 ? line.size() : close + 1;
        } else {
            while (i < line.size() && !isPamSpace(line[i]))
                ++i;
        }
        words.append(line.sliced(start, i - start));
    }
    return words;
}

} // namespace

std::optional<EnvironmentAssignment> assignment(QStringView line)
{
    qsizetype i = skipCronSpace(line, 0);
    if (i == line.size() || line[i] == u'#')
        return std::nullopt;

    QString name;
    if (isQuote(line[i])) {
        const qsizetype close = line.indexOf(line[i], i + 1);
        if (close < 0)
            return std::nullopt;
        name = line.sliced(i + 1, close - i - 1).toString();
        i = close + 1;
    } else {
        const qsizetype start = i;
        while (i < line.size() && !isCronSpace(line[i]) && line[i] != u'=')
            ++i;
        name = line.sliced(start, i - start).toString();
    }
    i = skipCronSpace(line, i);
    if (i == line.size() || line[i] != u'=' || name.contains(u'='))
        return std::nullopt;
    i = skipCronSpace(line, i + 1);
    if (i == line.size())
        return std::nullopt;

    if (isQuote(line[i])) {
        const qsizetype close = line.indexOf(line[i], i + 1);
        if (close < 0 || skipCronSpace(line, close + 1) != line.size())
            return std::nullopt;
        return EnvironmentAssignment{name, line.sliced(i + 1, close - i - 1).toString()};
    }
    qsizetype end = line.size();
    while (end > i && isCronSpace(line[end - 1]))
        --end;
    return EnvironmentAssignment{name, line.sliced(i, end - i).toString()};
}

QList<EnvironmentAssignment> assignmentsAbove(const CronDocument& document, const QUuid& jobId)
{
    QList<EnvironmentAssignment> assignments;
    for (const CronDocument::Node& node : document.nodes) {
        if (const CronJob* job = node.job(); job && job->id == jobId)
            break;
        if (const QString* text = node.passthroughText()) {
            if (auto found = assignment(*text))
                assignments.append(std::move(*found));
        }
    }
    return assignments;
}

QProcessEnvironment pamVariables(const QByteArray& pamConfiguration, const FileReader& read,
                                 const Account& account)
{
    QProcessEnvironment environment;
    int entries = 0;
    for (const QByteArray& line : pamConfiguration.split('\n')) {
        const QList<QByteArray> words = pamWords(line);
        if (words.size() < 3 || words[0].startsWith('#') ||
            (words[0] != "session" && words[0] != "-session") ||
            QFileInfo(QString::fromUtf8(words[2])).fileName() != u"pam_env.so")
            continue;
        if (++entries > entryLimit)
            break;
        QString settingsFile = defaultSettingsFile;
        QString environmentFile = defaultEnvironmentFile;
        bool readsEnvironmentFile = true;
        for (const QByteArray& argument : words.sliced(3)) {
            if (argument.startsWith("conffile="))
                settingsFile = QString::fromUtf8(argument.sliced(9));
            else if (argument.startsWith("envfile="))
                environmentFile = QString::fromUtf8(argument.sliced(8));
            else if (argument.startsWith("readenv="))
                readsEnvironmentFile = argument.sliced(8).toInt() != 0;
        }
        if (const auto settings = read(settingsFile))
            readSettingsFile(*settings, environment, account);
        if (!readsEnvironmentFile)
            continue;
        if (const auto variables = read(environmentFile))
            readEnvironmentFile(*variables, environment);
    }
    return environment;
}

QProcessEnvironment forJob(const QList<EnvironmentAssignment>& crontabAssignments,
                           const QProcessEnvironment& pam, const Account& account)
{
    QProcessEnvironment cron;
    for (const EnvironmentAssignment& assigned : crontabAssignments) {
        // An empty name reaches no program: every shell drops it.
        if (!assigned.name.isEmpty())
            cron.insert(assigned.name, assigned.value);
    }
    if (!cron.contains(QStringLiteral("SHELL")))
        cron.insert(QStringLiteral("SHELL"), defaultShell.toString());
    if (!cron.contains(QStringLiteral("HOME")))
        cron.insert(QStringLiteral("HOME"), account.home);
    if (!cron.contains(QStringLiteral("PATH")))
        cron.insert(QStringLiteral("PATH"), defaultPath.toString());
    // cron sets the account's name whatever the crontab says.
    cron.insert(QStringLiteral("LOGNAME"), account.name);

    QProcessEnvironment environment = pam;
    for (const QString& name : cron.keys())
        environment.insert(name, cron.value(name));
    return environment;
}

} // namespace Tempolane::CronEnvironment
