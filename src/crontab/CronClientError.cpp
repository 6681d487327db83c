#include "CronClientError.h"

#include <QCoreApplication>

namespace Tempolane {

QString CronProcessError::description() const
{
    switch (kind) {
    case Kind::launchFailed:
        return QCoreApplication::translate("CronProcessError",
                                           "„crontab“ konnte nicht gestartet werden: %1")
            .arg(message);
    case Kind::writeFailed:
        return QCoreApplication::translate("CronProcessError",
                                           "Die neue crontab konnte nicht an „crontab“ übergeben "
                                           "werden: %1")
            .arg(message);
    case Kind::readFailed:
        return QCoreApplication::translate("CronProcessError",
                                           "Die Ausgabe von „crontab“ konnte nicht empfangen "
                                           "werden: %1")
            .arg(message);
    }
    Q_UNREACHABLE();
}

QString CronClientError::description() const
{
    return std::visit([](const auto& error) { return error.description(); }, m_error);
}

} // namespace Tempolane
