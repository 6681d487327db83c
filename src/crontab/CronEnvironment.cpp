#include "CronEnvironment.h"

#include <QFileInfo>

namespace Tempolane::CronEnvironment {

namespace {

// pam_env's buffer for one line and for one expanded value, with its terminating zero.
constexpr qsizetype bufferSize = 8192;
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

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

qsizetype skipCronSpace(QStringView text, qsizetype i)
{
    while (i < text.size() && isCronSpace(text[i]))
        ++i;
    return i;
}

qsizetype skipPamSpace(QByteArrayView text, qsizetype i)
{
    while (i < text.size() && isPamSpace(text[i]))
        ++i;
    return i;
}

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

QString decoded(QByteArrayView bytes)
{
    return QString::fromUtf8(bytes);
}

// The longest start of the text whose UTF-8 form has at most `limit` bytes. A character that
// the limit would cut in two is left out whole; cron keeps its first bytes, which no text can
// hold.
QStringView firstUtf8Bytes(QStringView text, qsizetype limit)
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool isPair = QChar::isHighSurrogate(c) && i + 1 < text.size() &&
                            QChar::isLowSurrogate(text[i + 1].unicode());
        const qsizetype size = isPair ? 4 : c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        if (bytes + size > limit)
            return text.first(i);
        bytes += size;
        if (isPair)
            ++i;
    }
    return text;
}

// pam_env's reading of a file into logical lines: blank and comment lines are skipped, a "#"
// ends a line's content, and a backslash at the end (before trailing blanks) joins the next
// line. A line keeps its leading blanks and, unless a "#" cut it, its line feed. Reading stops
// at a line that does not fit the buffer, a NUL byte, or a joined line cut off by the end of
// the file: pam_env fails the file there.
class PamLines final
{
public:
    explicit PamLines(QIODevice& file) : m_file(file) {}

    // The next line; nothing at the end of the file or where reading failed.
    std::optional<QByteArray> next()
    {
        QByteArray joined;
        qsizetype used = 0;
        for (;;) {
            if (used >= bufferSize - 1)
                return fail();
            const QByteArray line = m_file.readLine(bufferSize - used);
            if (line.isEmpty())
                return used == 0 ? std::nullopt : fail();
            ++m_lineNumber;
            if (used == 0)
                m_startLine = m_lineNumber;
            if (line.contains('\0') || (!line.endsWith('\n') && !m_file.atEnd()))
                return fail();
            const qsizetype start = skipPamSpace(line, 0);
            if (start == line.size() || line[start] == '#') {
                // pam_env starts writing the buffer afresh, but still counts what it joined.
                joined.clear();
                continue;
            }
            if (const qsizetype hash = line.indexOf('#', start); hash >= 0)
                return joined + line.first(hash);
            qsizetype end = line.size();
            while (end > start && isPamSpace(line[end - 1]))
                --end;
            if (line[end - 1] != '\\')
                return joined + line;
            joined += line.first(end - 1);
            used += end - 1;
        }
    }

    bool hasFailed() const { return m_hasFailed; }
    // Where the last line began, or where reading failed.
    qsizetype lineNumber() const { return m_hasFailed ? m_lineNumber : m_startLine; }

private:
    std::optional<QByteArray> fail()
    {
        m_hasFailed = true;
        return std::nullopt;
    }

    QIODevice& m_file;
    qsizetype m_lineNumber = 0;
    qsizetype m_startLine = 0;
    bool m_hasFailed = false;
};

bool isPamName(QByteArrayView name)
{
    for (char c : name) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '_'))
            return false;
    }
    return true;
}

// An environment file of NAME=VALUE lines, such as /etc/environment or /etc/default/locale. A
// line it cannot read ends the file, but not the session.
void readEnvironmentFile(QIODevice& file, QProcessEnvironment& environment)
{
    const QByteArray exportPrefix = QByteArrayLiteral("export ");
    PamLines lines(file);
    while (auto line = lines.next()) {
        if (line->endsWith('\n'))
            line->chop(1);
        QByteArray entry = line->sliced(skipPamSpace(*line, 0));
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

// What "@{NAME}" stands for in cron's session.
QByteArray pamItem(QByteArrayView name, const Account& account)
{
    if (name == "PAM_USER")
        return account.name.toUtf8();
    if (name == "PAM_TTY")
        return QByteArrayLiteral("cron");
    if (name == "HOME")
        return account.home.toUtf8();
    if (name == "SHELL")
        return account.shell.toUtf8();
    return {};
}

// "${NAME}" from the variables set so far, "@{NAME}" from the session, and a backslash before
// "$" or "@" for the character itself; a backslash before anything else is dropped, and "$" or
// "@" without a brace stays. The kind of failure for an unterminated reference or a value that
// outgrows pam_env's buffer, with what failed.
std::expected<QByteArray, std::pair<CronSessionFailure::Kind, QByteArray>>
expanded(QByteArrayView value, const QProcessEnvironment& environment, const Account& account)
{
    QByteArray result;
    const auto append = [&result](QByteArrayView bytes) {
        result += bytes;
        return result.size() < bufferSize;
    };
    for (qsizetype i = 0; i < value.size();) {
        const char c = value[i];
        bool fits = true;
        if (c == '\\') {
            ++i;
            if (i < value.size() && (value[i] == '$' || value[i] == '@'))
                fits = append(value.sliced(i++, 1));
        } else if ((c == '$' || c == '@') && i + 1 < value.size() && value[i + 1] == '{') {
            const qsizetype close = value.indexOf('}', i + 2);
            if (close < 0)
                return std::unexpected(std::pair(CronSessionFailure::Kind::unterminatedReference,
                                                 value.sliced(i).toByteArray()));
            const QByteArrayView name = value.sliced(i + 2, close - i - 2);
            fits = append(c == '$' ? environment.value(decoded(name)).toUtf8()
                                   : pamItem(name, account));
            i = close + 1;
        } else {
            fits = append(value.sliced(i++, 1));
        }
        if (!fits)
            return std::unexpected(std::pair(CronSessionFailure::Kind::valueTooLong, QByteArray()));
    }
    return result;
}

// One option's value; "" given in quotes is kept apart from a value that is missing.
struct OptionValue
{
    QByteArray text;
    bool isEmptyQuotes = false;
};

struct Setting
{
    QByteArray name;
    std::optional<OptionValue> fallback;
    std::optional<OptionValue> override;
};

// A settings line: "NAME[ DEFAULT=value][ OVERRIDE=value]", the options each after blanks.
// Nothing for a line pam_env ignores: one with leading or trailing blanks, an option it does not
// know, an unterminated quote, or text after a closing quote.
std::optional<Setting> setting(QByteArrayView line)
{
    qsizetype i = 0;
    while (i < line.size() && !isPamSpace(line[i]))
        ++i;
    Setting parsed{line.first(i).toByteArray(), {}, {}};
    while (i < line.size() && isBlank(line[i])) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        const QByteArrayView rest = line.sliced(i);
        std::optional<OptionValue>* option = nullptr;
        if (rest.startsWith("DEFAULT=")) {
            option = &parsed.fallback;
            i += 8;
        } else if (rest.startsWith("OVERRIDE=")) {
            option = &parsed.override;
            i += 9;
        } else {
            return std::nullopt;
        }
        if (i < line.size() && line[i] == '"') {
            const qsizetype close = line.indexOf('"', i + 1);
            if (close < 0 || (close + 1 < line.size() && !isPamSpace(line[close + 1])))
                return std::nullopt;
            const QByteArrayView text = line.sliced(i + 1, close - i - 1);
            *option = OptionValue{text.toByteArray(), text.isEmpty()};
            i = close + 1;
        } else {
            const qsizetype start = i;
            while (i < line.size() && !isPamSpace(line[i]))
                ++i;
            if (i > start)
                *option = OptionValue{line.sliced(start, i - start).toByteArray(), false};
        }
    }
    if (parsed.name.isEmpty())
        return std::nullopt;
    return parsed;
}

// A settings file, such as /etc/security/pam_env.conf: both options are expanded, then the
// override is taken where it is not empty, else the default where one is given (also empty),
// else the variable is removed.
std::expected<void, CronSessionFailure> readSettingsFile(QIODevice& file, const QString& path,
                                                         QProcessEnvironment& environment,
                                                         const Account& account)
{
    PamLines lines(file);
    while (const auto line = lines.next()) {
        const auto parsed = setting(*line);
        if (!parsed)
            continue;
        std::optional<QByteArray> values[2];
        const std::optional<OptionValue>* options[2] = {&parsed->fallback, &parsed->override};
        for (int option = 0; option < 2; ++option) {
            if (!*options[option] || (*options[option])->isEmptyQuotes)
                continue;
            const auto value = expanded((*options[option])->text, environment, account);
            if (!value) {
                const auto& [kind, reference] = value.error();
                return std::unexpected(CronSessionFailure{
                    kind, path, lines.lineNumber(),
                    decoded(kind == CronSessionFailure::Kind::valueTooLong ? parsed->name
                                                                           : reference)});
            }
            values[option] = *value;
        }
        const QString name = decoded(parsed->name);
        if (values[1] && !values[1]->isEmpty())
            environment.insert(name, decoded(*values[1]));
        else if (parsed->fallback)
            environment.insert(name, decoded(values[0].value_or(QByteArray())));
        else
            environment.remove(name);
    }
    if (lines.hasFailed())
        return std::unexpected(CronSessionFailure{CronSessionFailure::Kind::unreadableLine, path,
                                                  lines.lineNumber(), QString()});
    return {};
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

std::optional<EnvironmentAssignment> assignment(QStringView wholeLine)
{
    const qsizetype first = skipCronSpace(wholeLine, 0);
    const QStringView line = firstUtf8Bytes(wholeLine.sliced(first), assignmentBytes);
    qsizetype i = 0;
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

std::expected<QProcessEnvironment, CronSessionFailure> pamVariables(const FileOpener& open,
                                                                    const Account& account)
{
    QProcessEnvironment environment;
    const auto configuration = open(pamConfigurationPath.toString());
    if (!configuration)
        return environment;
    int entries = 0;
    PamLines lines(*configuration);
    while (const auto line = lines.next()) {
        const QList<QByteArray> words = pamWords(*line);
        if (words.size() < 3 || (words[0] != "session" && words[0] != "-session") ||
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
        if (const auto settings = open(settingsFile)) {
            if (auto read = readSettingsFile(*settings, settingsFile, environment, account); !read)
                return std::unexpected(read.error());
        }
        if (!readsEnvironmentFile)
            continue;
        if (const auto variables = open(environmentFile))
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

QString workingDirectory(const QProcessEnvironment& job,
                         const std::function<bool(const QString& folder)>& canEnter)
{
    const QString home = job.value(QStringLiteral("HOME"));
    return canEnter(home) ? home : cronFolder.toString();
}

} // namespace Tempolane::CronEnvironment
