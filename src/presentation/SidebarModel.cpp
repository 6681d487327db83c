#include "SidebarModel.h"

#include <QLocale>

namespace Tempolane {

SidebarModel::SidebarModel(CronStore& store, QObject* parent)
    : QAbstractListModel(parent), m_store(store), m_counts(counts())
{
    for (const auto signal :
         {&CronStore::documentChanged, &CronStore::executionSummariesChanged,
          &CronStore::manuallyRunningJobIDChanged, &CronStore::jobProblemsChanged})
        connect(&m_store, signal, this, &SidebarModel::recount);
}

Symbol SidebarModel::symbolOf(JobFilter filter)
{
    switch (filter) {
    case JobFilter::all:
        return Symbol::history;
    case JobFilter::active:
        return Symbol::play;
    case JobFilter::paused:
        return Symbol::pause;
    case JobFilter::failed:
        return Symbol::warning;
    case JobFilter::problems:
        return Symbol::warningFill;
    }
    Q_UNREACHABLE();
}

Tint SidebarModel::tintOf(JobFilter filter)
{
    switch (filter) {
    case JobFilter::all:
        return Tint::indigo;
    case JobFilter::active:
        return Tint::green;
    case JobFilter::paused:
        return Tint::orange;
    case JobFilter::failed:
        return Tint::red;
    case JobFilter::problems:
        return Tint::orange;
    }
    Q_UNREACHABLE();
}

int SidebarModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(allJobFilters.size());
}

QVariant SidebarModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const JobFilter filter = allJobFilters[index.row()];
    const int count = m_counts[index.row()];
    const QString countText = QLocale().toString(count);
    switch (role) {
    case Qt::DisplayRole:
        return title(filter);
    case Qt::AccessibleTextRole:
        return title(filter) + QStringLiteral(", ") + countText;
    case FilterRole:
        return QVariant::fromValue(filter);
    case SymbolRole:
        return QVariant::fromValue(symbolOf(filter));
    case SymbolStyleRole:
        return QVariant::fromValue(SymbolStyle(tintOf(filter), SymbolRendering::hierarchical));
    case CountRole:
        return count;
    case CountTextRole:
        return countText;
    default:
        return {};
    }
}

QModelIndex SidebarModel::indexOf(JobFilter filter) const
{
    const auto position = std::find(allJobFilters.cbegin(), allJobFilters.cend(), filter);
    return index(int(position - allJobFilters.cbegin()));
}

std::array<int, allJobFilters.size()> SidebarModel::counts() const
{
    const int total = int(m_store.jobs().size());
    const int active = m_store.activeJobCount();
    const auto countOf = [&](JobFilter filter) {
        switch (filter) {
        case JobFilter::all:
            return total;
        case JobFilter::active:
            return active;
        case JobFilter::paused:
            return total - active;
        case JobFilter::failed:
            return m_store.failedJobCount();
        case JobFilter::problems:
            return m_store.problemJobCount();
        }
        Q_UNREACHABLE();
    };
    std::array<int, allJobFilters.size()> result{};
    std::transform(allJobFilters.cbegin(), allJobFilters.cend(), result.begin(), countOf);
    return result;
}

void SidebarModel::recount()
{
    const auto fresh = counts();
    for (int row = 0; row < int(fresh.size()); ++row) {
        if (fresh[row] == m_counts[row])
            continue;
        m_counts[row] = fresh[row];
        Q_EMIT dataChanged(index(row), index(row),
                           {CountRole, CountTextRole, Qt::AccessibleTextRole});
    }
}

} // namespace Tempolane
