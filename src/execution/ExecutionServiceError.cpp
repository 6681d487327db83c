#include "ExecutionServiceError.h"

#include <QCoreApplication>

namespace Tempolane {

QString ExecutionServiceError::summary() const
{
    switch (m_kind) {
    case Kind::commandFailed:
        return QCoreApplication::translate(
            "ExecutionService",
            "Der Cronjob wurde ausgeführt, ist aber mit einem Fehler beendet worden.");
    case Kind::fileSystemFailed:
        return QCoreApplication::translate(
            "ExecutionService",
            "Die Dateien der Ausführungsüberwachung konnten nicht angelegt werden.");
    case Kind::launchFailed:
        return QCoreApplication::translate("ExecutionService",
                                           "Der Cronjob konnte nicht gestartet werden.");
    case Kind::cronRunsNothing:
        // Already Tempolane's own sentence, naming the file and line that stop cron.
        return m_systemDescription;
    }
    Q_UNREACHABLE();
}

QString ExecutionServiceError::details() const
{
    return m_kind == Kind::cronRunsNothing ? QString() : m_systemDescription;
}

QString ExecutionServiceError::description() const
{
    return m_kind == Kind::commandFailed ? summary() : m_systemDescription;
}

} // namespace Tempolane
