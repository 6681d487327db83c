#include "JobDraftRules.h"

#include "CronStore.h"
#include "MonitoringCommandLine.h"
#include "TextContext.h"
#include "UserCharacters.h"

#include <QCoreApplication>

TEMPOLANE_TEXT_CONTEXT(JobEditor)

namespace Tempolane::JobDraftRules {

namespace {

bool spansLines(const QString& text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

} // namespace

std::optional<QString> nameMessage(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return tr("Bitte einen Namen vergeben.");
    if (spansLines(trimmed))
        return tr("Der Name muss in einer einzelnen Zeile stehen.");
    if (UserCharacters::count(trimmed) > CronJob::maximumNameLength)
        return tr("Der Name darf höchstens 80 Zeichen lang sein.");
    return std::nullopt;
}

std::optional<QString> commandMessage(const QString& command, bool isMonitoringEnabled,
                                      QStringView quotedRunner)
{
    const QString trimmed = command.trimmed();
    if (trimmed.isEmpty())
        return tr("Bitte einen Befehl eingeben.");
    if (spansLines(trimmed))
        return tr("Ein Cronjob muss in einer einzelnen Zeile stehen.");
    if (isMonitoringEnabled)
        return monitoringIssue(command, quotedRunner);
    return std::nullopt;
}

std::optional<QString> monitoringIssue(const QString& command, QStringView quotedRunner)
{
    // The saved command is the trimmed one.
    return MonitoringCommandLine::monitoringIssue(command.trimmed(), quotedRunner);
}

CronJob trimmedForSaving(CronJob job)
{
    job.name = job.name.trimmed();
    job.scheduleExpression = job.scheduleExpression.trimmed();
    job.command = job.command.trimmed();
    return job;
}

QString title(const CronJob& draft, bool isNew)
{
    return isNew ? tr("Neuer Cronjob") : CronStore::shownName(draft);
}

} // namespace Tempolane::JobDraftRules
