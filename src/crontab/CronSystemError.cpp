#include "CronSystemError.h"

#include <QCoreApplication>

namespace Tempolane {

QString CronSystemError::description() const
{
    switch (m_kind) {
    case Kind::commandFailed:
        if (!m_message.isEmpty())
            return m_message;
        return QCoreApplication::translate(
            "CronSystemError", "Der Systemdienst „crontab“ konnte die Änderung nicht ausführen.");
    case Kind::invalidOutput:
        return QCoreApplication::translate(
            "CronSystemError", "Die Ausgabe von „crontab“ konnte nicht gelesen werden.");
    case Kind::terminated:
        return QCoreApplication::translate(
            "CronSystemError",
            "Der Systemdienst „crontab“ wurde unerwartet beendet. Bitte neu laden und prüfen, "
            "ob die Änderung übernommen wurde.");
    case Kind::unconfirmedWrite:
        return QCoreApplication::translate(
            "CronSystemError",
            "Die crontab wurde nicht wie gewünscht übernommen: „crontab“ meldet einen anderen "
            "Inhalt als den gespeicherten. Bitte neu laden und prüfen.");
    }
    Q_UNREACHABLE();
}

} // namespace Tempolane
