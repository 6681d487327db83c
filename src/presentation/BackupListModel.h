#pragma once

#include "Clock.h"
#include "CronStore.h"
#include "LineDiff.h"
#include "ShownDiff.h"

#include <QAbstractTableModel>
#include <QTimeZone>

namespace Tempolane {

// The backups of replaced crontabs, newest first, each compared with the crontab the store
// holds: when it was taken, how many jobs it holds, and what restoring it would change. One
// backup is selected; its diff is what the dialog shows. Listing, reading and comparing run
// away from the main thread, again whenever the store's crontab changes.
class BackupListModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        takenAtColumn,
        jobsColumn,
        differenceColumn,
        columnCount_
    };

    explicit BackupListModel(CronStore& store, Clock now = systemClock(),
                             QTimeZone zone = QTimeZone::systemTimeZone(),
                             QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void reload();
    bool isLoading() const { return m_isLoading; }

    // After a reload the backup selected before stays selected, else the newest; -1 without
    // backups.
    int selectedRow() const { return m_selectedRow; }
    void select(int row);
    // From the current crontab to the selected backup.
    QList<ShownDiffLine> selectedDiff() const;
    // What the diff's place shows instead of lines: while reading, after a failure, without
    // backups, or for a backup equal to the crontab; empty where the diff shows.
    QString notice() const;
    bool canRestore() const;
    // Through the store, which backs up the current crontab first; the list follows the
    // store's new crontab.
    void restoreSelected();

    struct Row
    {
        CronBackup backup;
        qsizetype jobCount = 0;
        // From the crontab the store held when the row was made to the backup.
        LineDiff diff;
    };
    struct Listing
    {
        std::optional<QString> failure;
        QList<Row> rows;
    };

Q_SIGNALS:
    // The selection, the diff, the notice or whether restoring is possible changed.
    void stateChanged();

private:
    void apply(Listing listing);
    const Row* selected() const;

    CronStore& m_store;
    Clock m_clock;
    QTimeZone m_zone;
    QList<Row> m_rows;
    std::optional<QString> m_failure;
    bool m_isLoading = false;
    int m_selectedRow = -1;
    // Only the newest reload's answer is shown.
    int m_generation = 0;
};

} // namespace Tempolane
