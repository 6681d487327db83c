#include "WindowPresentation.h"

#include "DateTimeText.h"
#include "JobDraftRules.h"
#include "TextContext.h"

#include <QCoreApplication>

TEMPOLANE_TEXT_CONTEXT(WindowPresentation)

namespace Tempolane::WindowPresentation {

std::optional<EmptyState> jobListEmptyState(const CronStore& store)
{
    if (!store.hasLoaded() || !store.filteredJobs().isEmpty())
        return std::nullopt;
    if (store.jobs().isEmpty())
        return EmptyState{Symbol::clockBadgePlus, tr("Noch keine Cronjobs"),
                          tr("Lege deinen ersten Zeitplan mit dem Plus an."), true};
    return EmptyState{Symbol::funnel, tr("Keine Treffer"), tr("Passe Suche oder Filter an."),
                      false};
}

EmptyState noSelectionPlaceholder()
{
    return {Symbol::clock, tr("Cronjob auswählen"),
            tr("Wähle links einen Eintrag aus oder lege einen neuen an."), false};
}

QString windowTitle(const CronStore& store)
{
    const auto job = store.selectedJob();
    return windowTitle(job ? std::optional(JobDraftRules::title(*job, false)) : std::nullopt);
}

QString windowTitle(const std::optional<QString>& jobTitle)
{
    const QString application = QStringLiteral("Tempolane");
    return jobTitle ? tr("%1 – %2").arg(*jobTitle, application) : application;
}

bool canReload(const CronStore& store)
{
    return !store.isLoading() && !store.isSaving();
}

bool canDuplicate(const CronStore& store)
{
    return store.selectedJob().has_value();
}

bool showsMonitoringSuggestion(const CronStore& store)
{
    return store.hasLoaded() && store.unmonitoredJobCount() >= 1 &&
           !store.hasDismissedMonitoringSuggestion();
}

bool canEnableMonitoring(const CronStore& store)
{
    return !store.isSaving();
}

SyncStatus syncStatus(bool isLoading, const QDateTime& lastLoadedAt, const QDateTime& now)
{
    if (isLoading)
        return {Symbol::arrowsClockwise, Tint::indigo, true, tr("Wird synchronisiert"), {}};
    const QString detail =
        lastLoadedAt.isValid()
            ? tr("Aktualisiert %1").arg(DateTimeText::relativeTime(lastLoadedAt, now))
            : QString();
    return {Symbol::hardDrive, Tint::secondary, false, tr("System-crontab"), detail};
}

DeletionQuestion deletionQuestion(const CronJob& job)
{
    return {tr("Cronjob wirklich löschen?"),
            tr("„%1“ wird aus der lokalen crontab entfernt. Vorher wird automatisch ein Backup "
               "angelegt.")
                .arg(CronStore::shownName(job)),
            tr("Cronjob löschen")};
}

DeletionQuestion newJobDiscardQuestion()
{
    return {tr("Neuen Cronjob verwerfen?"),
            tr("Was du eingegeben hast, geht verloren; die crontab bleibt, wie sie ist."),
            tr("Verwerfen")};
}

UnsavedChangesQuestion unsavedChangesQuestion(const CronJob& job)
{
    return {tr("Änderungen an „%1“ sichern?").arg(CronStore::shownName(job)), tr("Sichern"),
            tr("Verwerfen"), tr("Abbrechen")};
}

WindowPlace fittedPlace(const QRect& wanted, const QMargins& frame, const QRect& available,
                        const QSize& minimum)
{
    const QSize room = available.size().shrunkBy(frame).expandedTo(QSize(1, 1));
    const QSize least = minimum.boundedTo(room);
    const QSize size = wanted.size().boundedTo(room).expandedTo(least);
    QRect framed(wanted.topLeft() - QPoint(frame.left(), frame.top()), size.grownBy(frame));
    framed.moveRight(std::min(framed.right(), available.right()));
    framed.moveBottom(std::min(framed.bottom(), available.bottom()));
    framed.moveLeft(std::max(framed.left(), available.left()));
    framed.moveTop(std::max(framed.top(), available.top()));
    return {framed - frame, least};
}

} // namespace Tempolane::WindowPresentation
