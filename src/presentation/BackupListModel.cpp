#include "BackupListModel.h"

#include "DateTimeText.h"
#include "TextContext.h"

#include <QCoreApplication>
#include <QCoro/QCoroFuture>
#include <QtConcurrent/QtConcurrentRun>

TEMPOLANE_TEXT_CONTEXT(BackupListModel)

namespace Tempolane {

namespace {

QString jobsText(qsizetype count)
{
    return tr.plural("=0 {Keine Jobs} one {# Job} other {# Jobs}", count);
}

// The counts line up on the right, under their heading.
QVariant alignment(int column)
{
    if (column == BackupListModel::takenAtColumn)
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    return QVariant(Qt::AlignRight | Qt::AlignVCenter);
}

QCoro::Task<BackupListModel::Listing> listAndCompare(CronStore& store, QString current)
{
    // The store may be gone when the backups arrive (a dialog closed at once, then the store):
    // nothing of it is read after the await.
    QString runner = store.runnerPath();
    auto backups = co_await store.backups();
    if (!backups)
        co_return BackupListModel::Listing{backups.error().description(), {}};
    auto future = QtConcurrent::run(
        [backups = *std::move(backups), current = std::move(current), runner = std::move(runner)] {
            QList<BackupListModel::Row> rows;
            for (const CronBackup& backup : backups) {
                if (backup.isSkipped())
                    continue;
                if (backup.isUsable())
                    rows.append({backup, CronDocument::parse(backup.text, runner).jobs().size(),
                                 LineDiff::between(current, backup.text)});
                else
                    rows.append({backup, 0, {}});
            }
            return rows;
        });
    // Awaited into a name first: GCC 12 copies a co_await inside a braced list without
    // counting the reference.
    QList<BackupListModel::Row> rows = co_await future;
    co_return BackupListModel::Listing{std::nullopt, std::move(rows)};
}

} // namespace

BackupListModel::BackupListModel(CronStore& store, Clock now, QTimeZone zone, QObject* parent)
    : QAbstractTableModel(parent), m_store(store), m_clock(std::move(now)), m_zone(std::move(zone))
{
    connect(&m_store, &CronStore::loadedContentsChanged, this, &BackupListModel::reload);
    connect(&m_store, &CronStore::isSavingChanged, this, &BackupListModel::stateChanged);
}

int BackupListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int BackupListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columnCount_;
}

QVariant BackupListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row& row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case takenAtColumn:
            return DateTimeText::dateTimeWithSeconds(row.backup.takenAt, QLocale(), m_zone);
        case jobsColumn:
            return row.backup.isUsable() ? jobsText(row.jobCount) : tr("Unbrauchbar");
        case differenceColumn:
            return row.backup.isUsable() ? differenceText(row.diff) : QStringLiteral("\u2013");
        }
        return {};
    case Qt::ToolTipRole:
        return QStringLiteral("%1 · %2").arg(
            DateTimeText::relativeTime(row.backup.takenAt, m_clock()), row.backup.fileName);
    case Qt::TextAlignmentRole:
        return alignment(index.column());
    default:
        return {};
    }
}

QVariant BackupListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return alignment(section);
    if (role != Qt::DisplayRole)
        return {};
    switch (section) {
    case takenAtColumn:
        return tr("Gesichert");
    case jobsColumn:
        return tr("Jobs");
    case differenceColumn:
        return tr("Unterschied");
    }
    return {};
}

void BackupListModel::reload()
{
    const int generation = ++m_generation;
    m_isLoading = true;
    Q_EMIT stateChanged();
    QCoro::connect(listAndCompare(m_store, m_store.loadedContents()), this,
                   [this, generation](Listing listing) {
                       if (generation == m_generation)
                           apply(std::move(listing));
                   });
}

void BackupListModel::apply(Listing listing)
{
    const QString selectedName = selected() ? selected()->backup.fileName : QString();
    beginResetModel();
    m_rows = std::move(listing.rows);
    m_failure = std::move(listing.failure);
    endResetModel();
    const auto same = std::find_if(m_rows.cbegin(), m_rows.cend(), [&](const Row& row) {
        return row.backup.fileName == selectedName;
    });
    m_selectedRow = same != m_rows.cend() ? int(same - m_rows.cbegin()) : m_rows.isEmpty() ? -1 : 0;
    m_isLoading = false;
    Q_EMIT stateChanged();
}

const BackupListModel::Row* BackupListModel::selected() const
{
    return m_selectedRow >= 0 && m_selectedRow < m_rows.size() ? &m_rows[m_selectedRow] : nullptr;
}

void BackupListModel::select(int row)
{
    if (row == m_selectedRow || row < -1 || row >= m_rows.size())
        return;
    m_selectedRow = row;
    Q_EMIT stateChanged();
}

QList<ShownDiffLine> BackupListModel::selectedDiff() const
{
    return selected() ? shownDiff(selected()->diff) : QList<ShownDiffLine>();
}

QString BackupListModel::notice() const
{
    if (m_isLoading && m_rows.isEmpty())
        return tr("Sicherungen werden gelesen …");
    if (m_failure)
        return tr("Die Sicherungen konnten nicht gelesen werden: %1").arg(*m_failure);
    if (m_rows.isEmpty())
        return tr("Noch keine Sicherungen. Tempolane sichert die crontab vor jeder Änderung.");
    if (!selected())
        return tr("Wähle eine Sicherung aus.");
    if (!selected()->backup.isUsable())
        return tr("Diese Datei kann nicht wiederhergestellt werden: %1.")
            .arg(selected()->backup.flawDescription());
    if (!selected()->diff.hasChanges())
        return tr("Diese Sicherung entspricht der aktuellen crontab.");
    return {};
}

bool BackupListModel::canRestore() const
{
    return selected() && selected()->backup.isUsable() && selected()->diff.hasChanges() &&
           !m_isLoading && !m_store.isSaving();
}

void BackupListModel::restoreSelected()
{
    if (canRestore())
        m_store.restoreBackup(selected()->backup.text);
}

} // namespace Tempolane
