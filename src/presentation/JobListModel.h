#pragma once

#include "Clock.h"
#include "CronStore.h"
#include "JobRow.h"

#include <QAbstractListModel>

namespace Tempolane {

// The job list: the store's filtered jobs with their execution summaries. A save, a reload or
// a status refresh inserts, removes, moves or changes only the rows it concerns, found by job
// id, so the view keeps its scroll position and selection.
class JobListModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role
    {
        JobIdRole = Qt::UserRole,
        RowRole,
        StatusLineRole
    };

    explicit JobListModel(CronStore& store, Clock now = systemClock(), QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The row of the job with this id, or an invalid index.
    QModelIndex indexOf(const QUuid& jobId) const;
    CronJob jobAt(int row) const { return entryAt(row).job; }
    bool hasRunningJob() const;
    // Whether the rows are being brought in line with the store: a selection the view moves
    // meanwhile (off a row that went away) is the view's doing, not the user's.
    bool isSynchronizing() const { return m_isSynchronizing; }

    // Takes the time anew; rows whose "vor 5 Minuten" now reads differently are changed.
    void refreshRelativeTimes();

Q_SIGNALS:
    // The rows are in line with the store again after rows were inserted, removed or moved:
    // once per change of the store, however many blocks of rows it took.
    void rowsSettled();

private:
    struct Entry
    {
        CronJob job;
        JobExecutionSummary summary;
        QString problem;
        // Made when a view first asks for the row; dropped when the job or summary changes.
        mutable std::optional<JobRow> row;
    };

    void synchronize();
    int entryCount() const { return int(m_entries.size() + m_unsettled.size() - m_unsettledHead); }
    const Entry& entryAt(int row) const;
    Entry entryOf(const CronJob& job) const;
    QList<Entry> currentEntries() const;
    const JobRow& rowOf(const Entry& entry) const;
    // Settles the next unsettled row with the entry; the roles that show something else now.
    QList<int> settle(const CronJob& job);
    // The roles whose data differs between what a row showed and what it shows now.
    QList<int> changedRoles(const Entry& before, const Entry& after) const;
    void emitChangedRanges(const QList<QPair<int, QList<int>>>& rows);

    CronStore& m_store;
    Clock m_clock;
    QDateTime m_now;
    // The rows: while the store's jobs are walked, the settled rows in m_entries are followed
    // by the rest of the old rows from m_unsettledHead on. Removing or inserting at the border
    // moves no other row, so a search that hides every fourth job costs one pass, not one pass
    // per hidden block.
    QList<Entry> m_entries;
    QList<Entry> m_unsettled;
    qsizetype m_unsettledHead = 0;
    bool m_isSynchronizing = false;
};

} // namespace Tempolane
