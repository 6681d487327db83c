#pragma once

#include "ExecutionRecordReader.h"
#include "ExecutionStateAppearance.h"
#include "JobExecutionSummary.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <QTimeZone>
#include <optional>

// What the executions card shows for a job, decided from the inputs the job editor hands it.
namespace Tempolane::ExecutionPanel {

// As many as the run files give for a history.
inline constexpr qsizetype maximumShownRecords = ExecutionRecordReader::shownRecords;

// What stands below the log policy while monitoring is switched on.
enum class Body
{
    beginsAfterFirstSave, // a new job
    beginsAfterSaving,    // monitoring switched on in the form, not saved yet
    status
};
Body body(bool isNew, const JobExecutionSummary& summary);
// The line shown instead of the status; empty for `status`.
std::optional<QString> notice(Body body);

struct RunFact
{
    QString label;
    QString value;

    friend bool operator==(const RunFact&, const RunFact&) = default;
};

struct StatusBlock
{
    ExecutionStateAppearance appearance;
    QString title;
    bool pulses = false;
    std::optional<QString> detail;
    // The detail is a line of the job's output, shown in a fixed-width font.
    bool isDetailOutput = false;
    QList<RunFact> facts;
};

StatusBlock statusBlock(const JobExecutionSummary& summary, bool isRunningNow,
                        const std::optional<QDateTime>& nextExecution,
                        const QLocale& locale = QLocale(),
                        const QTimeZone& zone = QTimeZone::systemTimeZone());

struct RunButton
{
    bool isEnabled = false;
    QString help;
};
RunButton runButton(bool hasUnsavedChanges, bool isRunningNow);

// "Verlauf löschen" is offered while there is a history and a way to clear it.
bool offersClearHistory(const QList<JobExecutionRecord>& history, bool canClear);

// What the panel asks before it acts.
struct Question
{
    QString title;
    QString message;
    QString confirmLabel;
    bool isDestructive = false;
};
Question runQuestion();
Question clearHistoryQuestion();

// The newest records the history list shows; older ones are not reachable in the panel.
QList<JobExecutionRecord> shownRecords(const QList<JobExecutionRecord>& history);

// The title of a run in the history: the newest is the job's last run and says so, as the
// status does; an older one says only how it went.
QString runTitle(const JobExecutionRecord& record, bool isNewest);

} // namespace Tempolane::ExecutionPanel
