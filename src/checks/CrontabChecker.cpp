#include "CrontabChecker.h"

#include "CronDocument.h"
#include "CronEnvironment.h"
#include "CrontabText.h"
#include "Rules.h"
#include "Silencing.h"
#include "TextContext.h"

#include <numeric>

TEMPOLANE_TEXT_CONTEXT(Checks)

namespace Tempolane {

namespace {

const QString allowFile = QStringLiteral("/etc/cron.allow");
const QString denyFile = QStringLiteral("/etc/cron.deny");

QStringList linesOf(const QString& text)
{
    QStringList lines = text.split(u'\n');
    if (text.endsWith(u'\n') || text.isEmpty())
        lines.removeLast();
    return lines;
}

// The end of a line that cron hands to the shell with the command: a carriage return, or
// where `crontab -l` lists the crontab, the "\r" it shows for one.
qsizetype carriageReturnLength(QStringView line, CrontabSource source)
{
    if (source == CrontabSource::file)
        return line.endsWith(u'\r') ? 1 : 0;
    return line.endsWith(u"\\r") ? 2 : 0;
}

Fix lineEndingRepair(const QStringList& lines, CrontabSource source)
{
    Fix repair{tr("Zeilenenden reparieren"), tr("Zeilenenden reparieren"), {}, {}};
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const qsizetype length = carriageReturnLength(lines[i], source))
            repair.edits.append({i, lines[i], {lines[i].chopped(length)}});
    }
    return repair;
}

bool isComment(QStringView line)
{
    const QStringView trimmed = CrontabText::trimmedSpacesAndTabs(line);
    return trimmed.isEmpty() || trimmed.startsWith(u'#');
}

// The names in /etc/cron.allow or /etc/cron.deny, one a line; nothing where the file is not.
std::optional<QStringList> namesIn(const FileView& files, const QString& path)
{
    constexpr qsizetype limit = 65536;
    const auto bytes = files.head(path, limit);
    if (!bytes)
        return std::nullopt;
    QStringList names;
    for (const QByteArray& line : bytes->split('\n'))
        names.append(QString::fromUtf8(line.trimmed()));
    return names;
}

class CheckRun
{
public:
    CheckRun(const QString& text, const CheckMachine& machine, CrontabSource source,
             const QString& runnerPath)
        : m_text(text), m_machine(machine), m_source(source), m_runnerPath(runnerPath),
          m_context(linesOf(text), machine, source, runnerPath),
          m_repair(lineEndingRepair(m_context.lines(), source))
    {
        m_firstIndex.resize(m_context.lines().size());
        std::iota(m_firstIndex.begin(), m_firstIndex.end(), qsizetype(0));
    }

    QList<Finding> findings()
    {
        const CronDocument document = CronDocument::parse(m_text, m_runnerPath);
        qsizetype index = 0;
        for (const CronDocument::Node& node : document.nodes) {
            if (const CronJob* job = node.job()) {
                const qsizetype markers = job->original->rawMetadataLines.size();
                checkJob(index, index + markers, *job);
                index += markers + 1;
            } else {
                checkText(index++);
            }
        }
        checkWhole();
        return silenced(m_context.takeFindings());
    }

private:
    const QProcessEnvironment& environment()
    {
        if (m_isEnvironmentStale) {
            m_environment = CronEnvironment::forJob(m_assignments, m_machine.pamVariables,
                                                    m_machine.account.forCron());
            m_isEnvironmentStale = false;
        }
        return m_environment;
    }

    void checkText(qsizetype index)
    {
        const QString& line = m_context.lines()[index];
        if (isComment(line))
            return;
        if (auto assigned = CronEnvironment::assignment(line)) {
            Rules::assignment(index, *assigned, environment(), m_context);
            // The last assignment of a name wins: one entry per name keeps the environment of
            // each line as cheap to make as the names are few.
            const auto same = std::find_if(
                m_assignments.begin(), m_assignments.end(),
                [&](const EnvironmentAssignment& known) { return known.name == assigned->name; });
            if (same != m_assignments.end())
                m_assignments.erase(same);
            m_assignments.append(std::move(*assigned));
            m_isEnvironmentStale = true;
            return;
        }
        const auto cron = CronJobLine::read(line);
        if (!cron) {
            if (m_source == CrontabSource::file)
                Rules::refusedLine(index, cron.error(), m_context);
            return;
        }
        CheckedLine checked = lineFor(index, index, 0, *cron);
        checked.command = commandOf(line.sliced(cron->command.start));
        if (CrontabText::trimmedBlanksAndLineBreaks(checked.command).isEmpty())
            return;
        checkRunning(checked);
    }

    void checkJob(qsizetype first, qsizetype index, const CronJob& job)
    {
        const QString& line = m_context.lines()[index];
        const qsizetype bodyStart = job.isEnabled ? 0 : CronMarkers::disabled.size();
        const auto cron = CronJobLine::read(QStringView(line).sliced(bodyStart));
        if (!cron) {
            if (m_source == CrontabSource::file && job.isEnabled)
                Rules::refusedLine(index, cron.error(), m_context);
            return;
        }
        CheckedLine checked = lineFor(first, index, bodyStart, *cron);
        checked.job = &job;
        checked.isPaused = !job.isEnabled;
        checked.isMonitored = job.isMonitoringEnabled;
        checked.command =
            job.isMonitoringEnabled
                ? job.command
                : commandOf(QStringView(line).sliced(bodyStart + cron->command.start));
        if (checked.isPaused) {
            // cron reads the line as a comment now, and as it is written once it is resumed.
            const CronCommandText cronText = CronCommandText::of(checked.command);
            const ShellCommand shell = ShellCommand::read(cronText.shellText);
            Rules::lineEnding(checked, shell, m_context, m_repair);
            Rules::percent(checked, cronText, shell, m_context);
            return;
        }
        checkRunning(checked);
    }

    CheckedLine lineFor(qsizetype first, qsizetype index, qsizetype bodyStart,
                        const CronJobLine& cron)
    {
        m_firstIndex[index] = first;
        CheckedLine checked;
        checked.index = index;
        checked.firstIndex = first;
        checked.text = m_context.lines()[index];
        checked.bodyStart = bodyStart;
        checked.cron = cron;
        checked.endsWithCarriageReturn = carriageReturnLength(checked.text, m_source) > 0;
        checked.environment = environment();
        return checked;
    }

    QString commandOf(QStringView written) const
    {
        return written.chopped(carriageReturnLength(written, m_source)).toString();
    }

    void checkRunning(const CheckedLine& line)
    {
        m_runsJobs = true;
        // A monitored job's command reaches the shell through the runner, untouched by cron.
        const CronCommandText cronText =
            CronCommandText::of(line.isMonitored ? QString() : line.command);
        const ShellCommand shell =
            ShellCommand::read(line.isMonitored ? line.command : cronText.shellText);
        Rules::lineEnding(line, shell, m_context, m_repair);
        Rules::percent(line, cronText, shell, m_context);
        // Text the shell cannot read runs nothing: the percent sign said why.
        if (shell.isComplete) {
            Rules::programs(line, cronText, shell, m_context);
            Rules::shell(line, shell, m_context);
        }
        Rules::schedule(line, m_context);
    }

    void checkWhole()
    {
        const QStringList& lines = m_context.lines();
        if (m_source == CrontabSource::file && !m_text.isEmpty() && !m_text.endsWith(u'\n')) {
            const qsizetype last = lines.size() - 1;
            m_context.add(last, "final-newline", Severity::error,
                          tr("Die Datei endet ohne Zeilenumbruch: crontab nimmt sie so nicht an "
                             "(„missing newline before EOF“)."),
                          {{tr("Zeilenumbruch anhängen"),
                            tr("Zeilenumbruch anhängen"),
                            {{last, lines[last], {lines[last], {}}}},
                            {}}});
        }
        if (!m_runsJobs)
            return;
        if (m_machine.isCronRunning == false)
            m_context.add(0, "cron-not-running", Severity::error,
                          tr("Auf diesem Rechner läuft kein cron-Dienst: keine Zeile dieser "
                             "Crontab wird ausgeführt."));
        if (const auto denial = accessDenial())
            m_context.add(0, "cron-denied", Severity::error, *denial);
        else if (m_machine.cronSessionFailure)
            m_context.add(0, "cron-denied", Severity::error, *m_machine.cronSessionFailure);
    }

    std::optional<QString> accessDenial() const
    {
        const QString& name = m_machine.account.name;
        if (const auto allowed = namesIn(*m_machine.files, allowFile)) {
            if (allowed->contains(name))
                return std::nullopt;
            return tr("%1 nennt %2 nicht: cron führt für dieses Konto nichts aus.")
                .arg(allowFile, name);
        }
        if (const auto denied = namesIn(*m_machine.files, denyFile);
            denied && denied->contains(name))
            return tr("%1 nennt %2: cron führt für dieses Konto nichts aus.").arg(denyFile, name);
        return std::nullopt;
    }

    QList<Finding> silenced(QList<Finding> findings) const
    {
        const QStringList& lines = m_context.lines();
        const QSet<QString> everywhere = Silencing::silencedEverywhere(lines);
        QList<Finding> shown;
        shown.reserve(findings.size());
        for (Finding& finding : findings) {
            const bool isWhole = finding.id == u"cron-not-running" || finding.id == u"cron-denied";
            const qsizetype first = m_firstIndex.value(finding.line - 1);
            if (everywhere.contains(finding.id) ||
                (!isWhole && Silencing::silencedAbove(lines, first).contains(finding.id)))
                continue;
            finding.commentLine = isWhole ? std::nullopt : std::optional(first);
            shown.append(std::move(finding));
        }
        std::stable_sort(shown.begin(), shown.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
        return shown;
    }

    const QString& m_text;
    const CheckMachine& m_machine;
    CrontabSource m_source;
    const QString& m_runnerPath;
    CheckContext m_context;
    Fix m_repair;
    QList<EnvironmentAssignment> m_assignments;
    QProcessEnvironment m_environment;
    bool m_isEnvironmentStale = true;
    bool m_runsJobs = false;
    // Per line, the first line of its node: a job's markers stand above it.
    QList<qsizetype> m_firstIndex;
};

} // namespace

CrontabChecker::CrontabChecker(CheckMachine machine) : m_machine(std::move(machine)) {}

QList<Finding> CrontabChecker::check(const QString& text, CrontabSource source,
                                     const QString& runnerPath) const
{
    return CheckRun(text, m_machine, source, runnerPath).findings();
}

} // namespace Tempolane
