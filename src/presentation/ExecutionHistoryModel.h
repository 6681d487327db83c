#pragma once

#include "JobExecutionRecord.h"

#include <QAbstractListModel>
#include <QList>

namespace Tempolane {

// The runs the executions card lists, newest first, each a row that unfolds to its output.
// New records update the rows in place: a run still listed keeps its row and whether it is
// unfolded, and only the roles whose value changed are announced.
class ExecutionHistoryModel final : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ExecutionHistoryModel)

public:
    enum Role
    {
        // The state's title (display role), its symbol and tint, the start time.
        symbolRole = Qt::UserRole,
        tintRole,
        startedAtTextRole,
        // The run's output as written, without the line break that ends it; null when the
        // run recorded none.
        outputRole,
        // Its text when there is no output to show.
        withoutOutputRole,
        isExpandedRole,
    };

    explicit ExecutionHistoryModel(QObject* parent = nullptr);

    // The history as the store gives it, newest first; only the newest are listed, and the
    // older runs reached since the list started.
    void setRecords(const QList<JobExecutionRecord>& history);
    // Lists the runs older than the listed ones down to the run with the id, taken from `runs`
    // (newest first; their output is not shown), and unfolds that run. Its row, or -1 when
    // `runs` has no such run.
    int reachRun(const QString& recordId, const QList<JobExecutionRecord>& runs);
    // Folds every row and forgets the older runs reached, as the list starts for another job.
    void collapseAll();

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Row
    {
        JobExecutionRecord record;
        bool isExpanded = false;
        // Titled as the job's last run; changed only after the rows moved, so a row keeps its
        // data while it moves.
        bool isNewest = false;
        // An older run reached from outside: its output was not read.
        bool isReached = false;
    };

    void update(int row, const JobExecutionRecord& record);
    void show(const QList<JobExecutionRecord>& records);

    QList<Row> m_rows;
    QList<JobExecutionRecord> m_history;
    QList<JobExecutionRecord> m_reached;
};

} // namespace Tempolane
