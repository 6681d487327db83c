#include "ExecutionServiceError.h"

#include <QCoreApplication>

namespace Tempolane {

QString ExecutionServiceError::description() const
{
    if (m_kind == Kind::commandFailed) {
        return QCoreApplication::translate(
            "ExecutionService",
            "Der Cronjob wurde ausgeführt, ist aber mit einem Fehler beendet worden.");
    }
    return m_systemDescription;
}

} // namespace Tempolane
