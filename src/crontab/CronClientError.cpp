#include "CronClientError.h"

#include <QCoreApplication>

namespace Tempolane {

QString CronProcessError::summary() const
{
    switch (kind) {
    case Kind::launchFailed:
        return QCoreApplication::translate("CronProcessError",
                                           "„crontab“ konnte nicht gestartet werden.");
    case Kind::writeFailed:
        return QCoreApplication::translate(
            "CronProcessError", "Die neue crontab konnte nicht an „crontab“ übergeben werden.");
    case Kind::readFailed:
        return QCoreApplication::translate(
            "CronProcessError", "Die Ausgabe von „crontab“ konnte nicht empfangen werden.");
    }
    Q_UNREACHABLE();
}

QString CronProcessError::description() const
{
    return message.isEmpty() ? summary() : summary() + u' ' + message;
}

QString CronClientError::description() const
{
    return std::visit([](const auto& error) { return error.description(); }, m_error);
}

QString CronClientError::summary() const
{
    return std::visit([](const auto& error) { return error.summary(); }, m_error);
}

QString CronClientError::details() const
{
    return std::visit([](const auto& error) { return error.details(); }, m_error);
}

} // namespace Tempolane
