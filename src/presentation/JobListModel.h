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
    CronJob jobAt(int row) const { return m_entries.at(row).job; }
    bool hasRunningJob() const;
    // Whether the rows are being brought in line with the store: a selection the view moves
    // meanwhile (off a row that went away) is the view's doing, not the user's.
    bool isSynchronizing() const { return m_isSynchronizing; }

    // Takes the time anew; rows whose "vor 5 Minuten" now reads differently are changed.
    void refreshRelativeTimes();

private:
    struct Entry
    {
        CronJob job;
        JobExecutionSummary summary;
        // Made when a view first asks for the row; dropped when the job or summary changes.
        mutable std::optional<JobRow> row;
    };

    void synchronize();
    QList<Entry> currentEntries() const;
    const JobRow& rowOf(const Entry& entry) const;
    // Puts the entry at the row; the roles that show something else now.
    QList<int> adopt(int row, Entry entry);
    // The roles whose data differs between what a row showed and what it shows now.
    QList<int> changedRoles(const Entry& before, const Entry& after) const;
    void emitChangedRanges(const QList<QPair<int, QList<int>>>& rows);

    CronStore& m_store;
    Clock m_clock;
    QDateTime m_now;
    QList<Entry> m_entries;
    bool m_isSynchronizing = false;
};

} // namespace Tempolane
