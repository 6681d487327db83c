#include "ExecutionHistoryModel.h"

#include "DateTimeText.h"
#include "ExecutionPanel.h"
#include "ExecutionStateAppearance.h"
#include "JobExecutionSummary.h"
#include "TextContext.h"

#include <algorithm>
#include <utility>

TEMPOLANE_TEXT_CONTEXT(ExecutionEditor)

namespace Tempolane {

namespace {

std::optional<QString> shownOutput(const JobExecutionRecord& record)
{
    if (!record.output)
        return std::nullopt;
    QString output = *record.output;
    // The line break that ends the output would show as an empty last line.
    while (output.endsWith(u'\n') || output.endsWith(u'\r'))
        output.chop(1);
    return output;
}

QList<int> changedRoles(const JobExecutionRecord& before, const JobExecutionRecord& after)
{
    QList<int> roles;
    if (stateOf(before) != stateOf(after))
        roles << Qt::DisplayRole << ExecutionHistoryModel::symbolRole
              << ExecutionHistoryModel::tintRole;
    if (before.startedAt != after.startedAt)
        roles << ExecutionHistoryModel::startedAtTextRole;
    if (!roles.isEmpty())
        roles << Qt::AccessibleTextRole;
    if (before.output != after.output)
        roles << ExecutionHistoryModel::outputRole << Qt::AccessibleDescriptionRole;
    return roles;
}

// A run reached from the chart beyond the newest ones, whose output the log no longer keeps.
QString outputKeptOnlyFor(int newestRuns)
{
    return tr.plural("one {Meldungen zeigt das Protokoll nur für die neueste Ausführung.} "
                     "other {Meldungen zeigt das Protokoll nur für die # neuesten Ausführungen.}",
                     newestRuns);
}

} // namespace

ExecutionHistoryModel::ExecutionHistoryModel(QObject* parent) : QAbstractListModel(parent) {}

void ExecutionHistoryModel::setRecords(const QList<JobExecutionRecord>& history)
{
    m_history = history;
    QList<JobExecutionRecord> records = ExecutionPanel::shownRecords(history);
    const QDateTime oldestListed = records.isEmpty() ? QDateTime() : records.back().startedAt;
    for (const JobExecutionRecord& reached : std::as_const(m_reached)) {
        if (oldestListed.isValid() && reached.startedAt < oldestListed)
            records.append(reached);
    }
    show(records);
}

int ExecutionHistoryModel::reachRun(const QString& recordId, const QList<JobExecutionRecord>& runs)
{
    const auto isRow = [&](const Row& row) { return row.record.id == recordId; };
    if (const auto listed = std::find_if(m_rows.cbegin(), m_rows.cend(), isRow);
        listed != m_rows.cend()) {
        const int row = int(listed - m_rows.cbegin());
        setData(index(row), true, isExpandedRole);
        return row;
    }
    const auto wanted = std::find_if(runs.cbegin(), runs.cend(),
                                     [&](const auto& run) { return run.id == recordId; });
    if (wanted == runs.cend())
        return -1;
    const QDateTime oldestListed = m_rows.isEmpty() ? QDateTime() : m_rows.back().record.startedAt;
    for (auto run = runs.cbegin(); run != wanted + 1; ++run) {
        if (!oldestListed.isValid() || run->startedAt < oldestListed)
            m_reached.append(*run);
    }
    setRecords(m_history);
    const auto shown = std::find_if(m_rows.cbegin(), m_rows.cend(), isRow);
    if (shown == m_rows.cend())
        return -1;
    const int row = int(shown - m_rows.cbegin());
    setData(index(row), true, isExpandedRole);
    return row;
}

void ExecutionHistoryModel::show(const QList<JobExecutionRecord>& records)
{
    const auto isListed = [&](const QString& id) {
        return std::ranges::any_of(records, [&](const auto& record) { return record.id == id; });
    };
    for (int row = int(m_rows.size()) - 1; row >= 0; --row) {
        if (isListed(m_rows[row].record.id))
            continue;
        beginRemoveRows({}, row, row);
        m_rows.removeAt(row);
        endRemoveRows();
    }
    // Every row left is listed: each place takes its record's row, moved up or made anew.
    for (int row = 0; row < int(records.size()); ++row) {
        const JobExecutionRecord& record = records[row];
        const auto found = std::find_if(m_rows.begin() + row, m_rows.end(), [&](const Row& shown) {
            return shown.record.id == record.id;
        });
        const bool isReached = row >= ExecutionPanel::maximumShownRecords;
        if (found == m_rows.end()) {
            beginInsertRows({}, row, row);
            m_rows.insert(row, Row{record, false, row == 0, isReached});
            endInsertRows();
            continue;
        }
        const int from = int(found - m_rows.begin());
        if (from != row) {
            beginMoveRows({}, from, from, {}, row);
            m_rows.move(from, row);
            endMoveRows();
        }
        m_rows[row].isReached = isReached;
        update(row, record);
    }
    // The run that was the newest is titled as an older one now, and the newest as the last.
    for (int row = 0; row < int(m_rows.size()); ++row) {
        if (std::exchange(m_rows[row].isNewest, row == 0) != (row == 0))
            Q_EMIT dataChanged(index(row), index(row), {Qt::DisplayRole, Qt::AccessibleTextRole});
    }
}

void ExecutionHistoryModel::update(int row, const JobExecutionRecord& record)
{
    const QList<int> roles = changedRoles(m_rows[row].record, record);
    m_rows[row].record = record;
    if (!roles.isEmpty())
        Q_EMIT dataChanged(index(row), index(row), roles);
}

void ExecutionHistoryModel::collapseAll()
{
    if (!m_reached.isEmpty()) {
        m_reached.clear();
        setRecords(m_history);
    }
    for (int row = 0; row < int(m_rows.size()); ++row)
        setData(index(row), false, isExpandedRole);
}

int ExecutionHistoryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant ExecutionHistoryModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row& row = m_rows[index.row()];
    const JobExecutionRecord& record = row.record;
    switch (role) {
    case Qt::DisplayRole:
        return ExecutionPanel::runTitle(record, row.isNewest);
    // Each run is named by its own start time first: a screen reader moving down the list
    // hears which run it is on.
    case Qt::AccessibleTextRole:
        return tr("%1 – %2").arg(DateTimeText::shortDateTime(record.startedAt),
                                 ExecutionPanel::runTitle(record, row.isNewest));
    // An unfolded row reads out what it shows below its header.
    case Qt::AccessibleDescriptionRole:
        if (!row.isExpanded)
            return {};
        return data(index, outputRole).isNull() ? data(index, withoutOutputRole)
                                                : data(index, outputRole);
    case symbolRole:
        return QVariant::fromValue(ExecutionStateAppearance::of(stateOf(record).kind()).symbol);
    case tintRole:
        return QVariant::fromValue(ExecutionStateAppearance::of(stateOf(record).kind()).tint);
    case startedAtTextRole:
        return DateTimeText::shortDateTime(record.startedAt);
    case outputRole:
        if (const auto output = shownOutput(record))
            return *output;
        return {};
    case withoutOutputRole:
        if (row.isReached)
            return outputKeptOnlyFor(ExecutionPanel::maximumShownRecords);
        return tr("Für diese Ausführung wurden keine Meldungen aufgezeichnet.");
    case isExpandedRole:
        return row.isExpanded;
    default:
        return {};
    }
}

bool ExecutionHistoryModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != isExpandedRole ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    bool& isExpanded = m_rows[index.row()].isExpanded;
    if (isExpanded == value.toBool())
        return true;
    isExpanded = value.toBool();
    Q_EMIT dataChanged(index, index, {isExpandedRole, Qt::AccessibleDescriptionRole});
    return true;
}

Qt::ItemFlags ExecutionHistoryModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

} // namespace Tempolane
