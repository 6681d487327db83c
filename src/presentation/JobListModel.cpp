#include "JobListModel.h"

#include <QScopedValueRollback>
#include <QSet>
#include <utility>

namespace Tempolane {

JobListModel::JobListModel(CronStore& store, Clock now, QObject* parent)
    : QAbstractListModel(parent), m_store(store), m_clock(std::move(now)), m_now(m_clock())
{
    m_entries = currentEntries();
    for (const auto signal :
         {&CronStore::documentChanged, &CronStore::filterChanged, &CronStore::searchTextChanged,
          &CronStore::executionSummariesChanged, &CronStore::manuallyRunningJobIDChanged,
          &CronStore::jobProblemsChanged})
        connect(&m_store, signal, this, &JobListModel::synchronize);
}

int JobListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : entryCount();
}

QVariant JobListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Entry& entry = entryAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return rowOf(entry).name;
    case Qt::AccessibleTextRole:
        return rowOf(entry).accessibleText();
    case Qt::AccessibleDescriptionRole:
        return entry.problem.isEmpty() ? QVariant() : QVariant(entry.problem);
    // The row cuts a long command short; the whole of it on demand.
    case Qt::ToolTipRole:
        return entry.job.command;
    case JobIdRole:
        return entry.job.id;
    case RowRole:
        return QVariant::fromValue(rowOf(entry));
    case StatusLineRole:
        return rowOf(entry).statusLine(m_now);
    default:
        return {};
    }
}

QHash<int, QByteArray> JobListModel::roleNames() const
{
    auto names = QAbstractListModel::roleNames();
    names.insert(JobIdRole, "jobId");
    names.insert(RowRole, "row");
    names.insert(StatusLineRole, "statusLine");
    return names;
}

QModelIndex JobListModel::indexOf(const QUuid& jobId) const
{
    for (int row = 0; row < entryCount(); ++row) {
        if (entryAt(row).job.id == jobId)
            return index(row);
    }
    return {};
}

bool JobListModel::hasRunningJob() const
{
    for (int row = 0; row < entryCount(); ++row) {
        const Entry& entry = entryAt(row);
        if (entry.job.isEnabled && entry.summary.state.kind() == JobExecutionState::Kind::running)
            return true;
    }
    return false;
}

const JobListModel::Entry& JobListModel::entryAt(int row) const
{
    return row < m_entries.size() ? m_entries.at(row)
                                  : m_unsettled.at(m_unsettledHead + row - m_entries.size());
}

const JobRow& JobListModel::rowOf(const Entry& entry) const
{
    if (!entry.row)
        entry.row = JobRow::make(entry.job, entry.summary, entry.problem);
    return *entry.row;
}

JobListModel::Entry JobListModel::entryOf(const CronJob& job) const
{
    return {job, m_store.executionSummary(job), m_store.jobProblems().value(job.id), std::nullopt};
}

QList<JobListModel::Entry> JobListModel::currentEntries() const
{
    const QList<CronJob> jobs = m_store.filteredJobs();
    QList<Entry> entries;
    entries.reserve(jobs.size());
    for (const CronJob& job : jobs)
        entries.append(entryOf(job));
    return entries;
}

QList<int> JobListModel::changedRoles(const Entry& before, const Entry& after) const
{
    const JobRow& was = rowOf(before);
    const JobRow& is = rowOf(after);
    QList<int> roles;
    if (was == is && before.job.command == after.job.command)
        return roles;
    if (was.name != is.name)
        roles.append(Qt::DisplayRole);
    if (was.accessibleText() != is.accessibleText())
        roles.append(Qt::AccessibleTextRole);
    if (was.problem != is.problem)
        roles.append(Qt::AccessibleDescriptionRole);
    if (before.job.command != after.job.command)
        roles.append(Qt::ToolTipRole);
    if (was.id != is.id)
        roles.append(JobIdRole);
    if (was != is)
        roles.append(RowRole);
    if (was.statusLine(m_now) != is.statusLine(m_now))
        roles.append(StatusLineRole);
    return roles;
}

QList<int> JobListModel::settle(const CronJob& job)
{
    Entry& current = m_unsettled[m_unsettledHead];
    QList<int> roles;
    if (JobExecutionSummary summary = m_store.executionSummary(job);
        current.job != job || current.summary != summary ||
        current.problem != m_store.jobProblems().value(job.id)) {
        Entry entry{job, std::move(summary), m_store.jobProblems().value(job.id), std::nullopt};
        roles = changedRoles(current, entry);
        current = std::move(entry);
    }
    m_entries.append(std::move(current));
    ++m_unsettledHead;
    return roles;
}

// Walks the wanted rows in order and makes each position hold its job: kept rows are changed
// in place, rows of jobs that are gone are removed, a job found further down is moved up, new
// jobs are inserted. A job that vanished where a new one appears (a job without an id marker
// gets a fresh id at every read) is changed in place rather than removed and inserted. Once a
// position is settled, later steps touch only the rows below it.
void JobListModel::synchronize()
{
    const QScopedValueRollback synchronizing(m_isSynchronizing, true);
    // The first load: every job is new, in one block.
    if (m_entries.isEmpty()) {
        QList<Entry> entries = currentEntries();
        if (entries.isEmpty())
            return;
        beginInsertRows({}, 0, int(entries.size()) - 1);
        m_entries = std::move(entries);
        endInsertRows();
        Q_EMIT rowsSettled();
        return;
    }
    // Entries are made only for rows that come or change: most rows of a keystroke stay.
    const QList<CronJob> wanted = m_store.filteredJobs();
    QSet<QUuid> wantedIds;
    wantedIds.reserve(wanted.size());
    for (const CronJob& job : wanted)
        wantedIds.insert(job.id);
    QSet<QUuid> knownIds;
    knownIds.reserve(m_entries.size());
    for (const Entry& entry : std::as_const(m_entries))
        knownIds.insert(entry.job.id);
    const auto isGone = [&](int row) {
        return row < entryCount() && !wantedIds.contains(entryAt(row).job.id);
    };
    const auto isNew = [&](int row) {
        return row < wanted.size() && !knownIds.contains(wanted[row].id);
    };
    m_unsettled = std::exchange(m_entries, {});
    m_unsettledHead = 0;
    m_entries.reserve(wanted.size());

    QList<QPair<int, QList<int>>> changedRows;
    bool rowsChanged = false;
    // At each step, the rows above `row` are settled and `row` is the first unsettled one.
    for (int row = 0; row < wanted.size(); ++row) {
        const QUuid id = wanted[row].id;
        if (isGone(row) && !isNew(row)) {
            int last = row;
            while (isGone(last + 1))
                ++last;
            beginRemoveRows({}, row, last);
            m_unsettledHead += last - row + 1;
            endRemoveRows();
            rowsChanged = true;
        }
        if (isNew(row) && !isGone(row)) {
            int last = row;
            while (isNew(last + 1))
                ++last;
            beginInsertRows({}, row, last);
            for (int i = row; i <= last; ++i)
                m_entries.append(entryOf(wanted[i]));
            endInsertRows();
            rowsChanged = true;
            row = last;
            continue;
        }
        if (row < entryCount() && entryAt(row).job.id != id && !isNew(row)) {
            const auto found =
                std::find_if(m_unsettled.cbegin() + m_unsettledHead, m_unsettled.cend(),
                             [&](const Entry& entry) { return entry.job.id == id; });
            const auto from = found - m_unsettled.cbegin();
            beginMoveRows({}, int(row + from - m_unsettledHead), int(row + from - m_unsettledHead),
                          {}, row);
            m_unsettled.move(from, m_unsettledHead);
            endMoveRows();
            rowsChanged = true;
        }
        if (QList<int> roles = settle(wanted[row]); !roles.isEmpty())
            changedRows.append({row, std::move(roles)});
    }
    if (entryCount() > wanted.size()) {
        beginRemoveRows({}, int(wanted.size()), entryCount() - 1);
        m_unsettledHead = m_unsettled.size();
        endRemoveRows();
        rowsChanged = true;
    }
    m_unsettled.clear();
    m_unsettledHead = 0;
    emitChangedRanges(changedRows);
    if (rowsChanged)
        Q_EMIT rowsSettled();
}

// Neighbouring rows that changed in the same roles are told in one signal.
void JobListModel::emitChangedRanges(const QList<QPair<int, QList<int>>>& rows)
{
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype last = i;
        while (last + 1 < rows.size() && rows[last + 1].first == rows[last].first + 1 &&
               rows[last + 1].second == rows[i].second)
            ++last;
        Q_EMIT dataChanged(index(rows[i].first), index(rows[last].first), rows[i].second);
        i = last + 1;
    }
}

void JobListModel::refreshRelativeTimes()
{
    const QDateTime before = m_now;
    m_now = m_clock();
    for (int row = 0; row < entryCount(); ++row) {
        const Entry& entry = entryAt(row);
        if (!entry.row || !entry.row->latestRunStartedAt)
            continue;
        if (entry.row->statusLine(before) != entry.row->statusLine(m_now))
            Q_EMIT dataChanged(index(row), index(row), {StatusLineRole});
    }
}

} // namespace Tempolane
