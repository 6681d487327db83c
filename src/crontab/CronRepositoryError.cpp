#include "CronRepositoryError.h"

#include <QCoreApplication>

namespace Tempolane {

QString CronRepositoryError::description() const
{
    if (isConcurrentModification())
        return QCoreApplication::translate(
            "CronRepositoryError", "Die crontab wurde außerhalb von Tempolane geändert. Bitte neu "
                                   "laden und die Änderung erneut anwenden.");
    if (const auto* error = clientError())
        return error->description();
    return backupError()->description();
}

} // namespace Tempolane
