#include "CheckContext.h"

#include "ShellQuoting.h"

namespace Tempolane {

CheckContext::CheckContext(QStringList lines, const CheckMachine& machine, CrontabSource source,
                           QString runnerPath)
    : m_lines(std::move(lines)), m_machine(machine), m_source(source),
      m_runnerPath(std::move(runnerPath)), m_programs(*machine.files, machine.account.home)
{
    m_findings.reserve(m_lines.size());
}

bool CheckContext::isAccount(const QString& name)
{
    if (!m_machine.isAccount)
        return false;
    const auto known = m_accounts.constFind(name);
    if (known != m_accounts.cend())
        return *known;
    const bool isAccount = m_machine.isAccount(name);
    m_accounts.insert(name, isAccount);
    return isAccount;
}

void CheckContext::add(const CheckedLine& line, const char* id, Severity severity, QString message,
                       QList<Fix> fixes)
{
    m_findings.append({QString::fromLatin1(id),
                       severity,
                       line.index + 1,
                       line.jobId(),
                       std::move(message),
                       std::move(fixes),
                       {}});
}

void CheckContext::add(qsizetype index, const char* id, Severity severity, QString message,
                       QList<Fix> fixes)
{
    m_findings.append({QString::fromLatin1(id),
                       severity,
                       index + 1,
                       std::nullopt,
                       std::move(message),
                       std::move(fixes),
                       {}});
}

Fix CheckContext::commandFix(const CheckedLine& line, const QString& command, QString title,
                             QString changeName) const
{
    Fix fix{std::move(title), std::move(changeName), {}, {}};
    if (!line.isMonitored) {
        // The rest of the line after the command, a carriage return, stays.
        const qsizetype start = line.commandStart();
        const QString tail = line.text.sliced(start + line.command.size());
        fix.edits.append(replaceLine(line.index, line.text.first(start) + command + tail));
        return fix;
    }
    CronJob edited = *line.job;
    edited.command = command;
    return jobFix(line, edited, fix.title, fix.changeName);
}

Fix CheckContext::jobFix(const CheckedLine& line, const CronJob& edited, QString title,
                         QString changeName) const
{
    Fix fix{std::move(title), std::move(changeName), {}, {}};
    const QStringList written = edited.serializedLines(quotedRunner());
    for (qsizetype i = line.firstIndex; i <= line.index; ++i)
        fix.edits.append({i, m_lines[i], i == line.firstIndex ? written : QStringList()});
    return fix;
}

QString CheckContext::quotedRunner() const
{
    return quotedPath(m_runnerPath);
}

LineEdit CheckContext::insertAbove(const CheckedLine& line, const QString& text) const
{
    return {line.firstIndex, m_lines[line.firstIndex], {text, m_lines[line.firstIndex]}};
}

LineEdit CheckContext::replaceLine(qsizetype index, const QString& text) const
{
    return {index, m_lines[index], {text}};
}

} // namespace Tempolane
