#pragma once

#include "CheckMachine.h"
#include "CheckedLine.h"
#include "Finding.h"
#include "ProgramLookup.h"

#include <QHash>
#include <QList>
#include <QStringList>

namespace Tempolane {

// Where the crontab text comes from.
enum class CrontabSource
{
    // A file as it is written, line ends and all.
    file,
    // The installed crontab as `crontab -l` lists it: it ends with a line feed, and Debian's
    // tool shows a carriage return as the two characters "\r".
    installed
};

// What every rule of one check shares: the crontab's lines, the machine, the programs found so
// far, and the findings made.
class CheckContext final
{
public:
    CheckContext(QStringList lines, const CheckMachine& machine, CrontabSource source,
                 QString runnerPath);

    const QStringList& lines() const { return m_lines; }
    const CheckMachine& machine() const { return m_machine; }
    CrontabSource source() const { return m_source; }
    ProgramLookup& programs() { return m_programs; }
    FileStatus status(const QString& path) { return m_programs.status(path); }
    // CheckMachine::isAccount, asked once per name.
    bool isAccount(const QString& name);

    void add(const CheckedLine& line, const char* id, Severity severity, QString message,
             QList<Fix> fixes = {});
    // For a line that is no job, or the whole crontab (index 0).
    void add(qsizetype index, const char* id, Severity severity, QString message,
             QList<Fix> fixes = {});
    QList<Finding> takeFindings() { return std::exchange(m_findings, {}); }

    // The line's command replaced: in the line itself, or for a monitored job by writing the
    // job anew, since its command stands encoded in the line.
    Fix commandFix(const CheckedLine& line, const QString& command, QString title,
                   QString changeName) const;
    // The job's lines, markers and all, written anew for the edited job.
    Fix jobFix(const CheckedLine& line, const CronJob& edited, QString title,
               QString changeName) const;
    QString quotedRunner() const;
    // A line put above the line and the markers that belong to it.
    LineEdit insertAbove(const CheckedLine& line, const QString& text) const;
    LineEdit replaceLine(qsizetype index, const QString& text) const;

private:
    QStringList m_lines;
    const CheckMachine& m_machine;
    CrontabSource m_source;
    QString m_runnerPath;
    ProgramLookup m_programs;
    QHash<QString, bool> m_accounts;
    QList<Finding> m_findings;
};

} // namespace Tempolane
