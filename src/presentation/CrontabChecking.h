#pragma once

#include "CheckMachine.h"
#include "CronStore.h"
#include "Finding.h"

#include <QCoro/QCoroTask>
#include <QObject>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <optional>

namespace Tempolane {

// The checks of the crontab the window shows, made on a thread of their own: the crontab as
// loaded, again after every load and save and when the window comes back to the front, and
// the job being edited as the user types. A check that is under way when another is asked
// for finishes; the newest request then runs, and only its findings are shown. The jobs with
// an error or a warning go to the store, for the row marks and the filter "Probleme".
class CrontabChecking final : public QObject
{
    Q_OBJECT

public:
    // Gives the machine to check on; asked on the checks' thread before each check of the
    // crontab, so the daemon, the files and the time are taken anew.
    using MachineSource = std::function<CheckMachine()>;

    explicit CrontabChecking(CronStore& store, QObject* parent = nullptr);
    ~CrontabChecking() override;

    // This computer, by default.
    void setMachineSource(MachineSource source);

    void recheck();
    // The job being edited, checked in the crontab in place of its saved state (or after the
    // last line, for a new job).
    void checkDraft(const CronJob& draft);

    // The findings of the crontab text last checked, which the store loaded, and its lines.
    const QList<Finding>& findings() const { return m_findings; }
    const QStringList& checkedLines() const { return m_checkedLines; }
    QList<Finding> findingsOf(const QUuid& jobId) const;
    // Errors and warnings of lines that are no job Tempolane shows, and of the whole crontab.
    QList<Finding> lineFindings() const;
    // The findings of the last draft checked, and its job's id.
    const QList<Finding>& draftFindings() const { return m_draftFindings; }
    QUuid draftJobId() const { return m_draftJobId; }
    bool isChecking() const { return m_isCheckRunning || m_isDraftCheckRunning; }

    // Makes the fix: edits of the crontab through the store's save, under the fix's name for
    // undo; or a script made executable for its owner. False when the crontab changed since the
    // check (it is checked again) or the save failed.
    QCoro::Task<bool> apply(Fix fix);

Q_SIGNALS:
    void findingsChanged();
    void draftFindingsChanged();

private:
    QCoro::Task<> runCheck();
    QCoro::Task<> runDraftCheck();
    void adopt(QString text, QList<Finding> findings);

    CronStore& m_store;
    MachineSource m_machineSource;
    // One check at a time, off the main thread.
    QThreadPool m_pool;
    // The machine of the last check of the crontab, for the checks of drafts in between.
    std::shared_ptr<const CheckMachine> m_machine;
    bool m_isCheckRunning = false;
    bool m_isCheckWanted = false;
    bool m_isDraftCheckRunning = false;
    std::optional<CronJob> m_wantedDraft;
    QString m_checkedText;
    QStringList m_checkedLines;
    QList<Finding> m_findings;
    QList<Finding> m_draftFindings;
    QUuid m_draftJobId;
};

} // namespace Tempolane
