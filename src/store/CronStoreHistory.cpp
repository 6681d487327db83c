// The store's way back: the backups of replaced crontabs, restoring one, and taking the last
// change back or making it again. Each writes a whole text through the same commit as every
// job operation.
#include "CronStore.h"

namespace Tempolane {

QCoro::Task<std::expected<QList<CronBackup>, CronBackupError>> CronStore::backups()
{
    co_return co_await m_repository->backups();
}

QCoro::Task<bool> CronStore::commitText(QString text, QString expected, SavedChange change,
                                        QString errorTitle)
{
    // Named, not temporaries: GCC 12 destroys a temporary argument of an awaited coroutine twice.
    Commit pending{std::move(text), std::move(expected), std::move(change), std::move(errorTitle)};
    Selector select = [this](const OptionalJob& previouslySelected) {
        reselect(previouslySelected);
    };
    co_return co_await commit(std::move(pending), std::move(select));
}

QCoro::Task<bool> CronStore::mayWriteOverSelectedJob(QString text)
{
    const OptionalJob selected = selectedJob();
    if (!m_leaveGuard || !selected)
        co_return true;
    // Found again as a load finds it: by id, or by what it does.
    const QList<CronJob> jobs = (co_await parsedAway(std::move(text))).jobs();
    const bool keepsJob = std::any_of(jobs.cbegin(), jobs.cend(), [&](const CronJob& job) {
        return job.id == selected->id || (job.scheduleExpression == selected->scheduleExpression &&
                                          job.command == selected->command);
    });
    if (keepsJob)
        co_return true;
    co_return co_await mayLeaveSelectedJob();
}

QCoro::Task<bool> CronStore::restoreBackup(QString text)
{
    if (m_isSaving)
        co_return false;
    const bool mayGoOn = co_await mayWriteOverSelectedJob(text);
    if (!mayGoOn || m_isSaving)
        co_return false;
    SavedChange change = SavedChange::of(SavedChange::Kind::restore);
    change.before = m_loadedContents;
    change.after = text;
    co_return co_await commitText(std::move(text), m_loadedContents, std::move(change),
                                  tr("Sicherung konnte nicht wiederhergestellt werden"));
}

QCoro::Task<bool> CronStore::commitFix(QString text, QString description)
{
    if (m_isSaving)
        co_return false;
    SavedChange change = SavedChange::of(SavedChange::Kind::fix);
    change.description = std::move(description);
    change.before = m_loadedContents;
    change.after = text;
    co_return co_await commitText(std::move(text), m_loadedContents, std::move(change),
                                  tr("Die Korrektur konnte nicht gesichert werden"));
}

QCoro::Task<bool> CronStore::undoLastChange()
{
    co_return co_await switchLastChange(true,
                                        tr("Änderung konnte nicht rückgängig gemacht werden"));
}

QCoro::Task<bool> CronStore::redoLastChange()
{
    co_return co_await switchLastChange(false, tr("Änderung konnte nicht wiederholt werden"));
}

QCoro::Task<bool> CronStore::switchLastChange(bool isUndone, QString errorTitle)
{
    if (m_isSaving || !m_lastChange || m_lastChange->isUndone == isUndone)
        co_return false;
    const SavedChange asked = *m_lastChange;
    // A draft saved meanwhile is the last change now: taking back the one asked for would take
    // the saved draft with it.
    const QString& goingTo = isUndone ? asked.before : asked.after;
    const bool mayGoOn = co_await mayWriteOverSelectedJob(goingTo);
    if (!mayGoOn || m_isSaving || m_lastChange != asked)
        co_return false;
    SavedChange switched = *m_lastChange;
    switched.isUndone = isUndone;
    const QString text = switched.written();
    const QString expected = m_lastChange->written();
    co_return co_await commitText(text, expected, std::move(switched), std::move(errorTitle));
}

void CronStore::noteCrontabHolds(const QString& text)
{
    assign(m_isLastChangeInPlace, m_lastChange && m_lastChange->written() == text,
           &CronStore::isLastChangeInPlaceChanged);
}

QCoro::Task<> CronStore::checkLastChange()
{
    if (!m_lastChange || m_isSaving)
        co_return;
    const auto text = co_await readUnlessOutdated();
    // An unreadable crontab settles nothing, and taking a change back would be refused anyway.
    if (!text || !m_lastChange || m_isSaving)
        co_return;
    noteCrontabHolds(*text);
}

} // namespace Tempolane
