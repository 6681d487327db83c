#include "CronSystemError.h"

#include "TextContext.h"

#include <QCoreApplication>

TEMPOLANE_TEXT_CONTEXT(CronSystemError)

namespace Tempolane {

QString CronSystemError::description() const
{
    QString cause;
    switch (m_kind) {
    case Kind::commandFailed:
        if (!m_message.isEmpty())
            return m_message;
        return tr("Der Systemdienst „crontab“ konnte die Änderung nicht ausführen.");
    case Kind::invalidOutput:
        return tr("Die Ausgabe von „crontab“ konnte nicht gelesen werden.");
    case Kind::unconfirmedWrite:
        return tr("Die crontab wurde nicht wie gewünscht übernommen: „crontab“ meldet einen "
                  "anderen Inhalt als den gespeicherten. Bitte neu laden und prüfen.");
    case Kind::terminated:
        if (m_writeCheck == WriteCheck::none) {
            const QString read =
                tr("Die crontab konnte nicht gelesen werden: „crontab“ wurde unerwartet beendet.");
            return m_message.isEmpty() ? read : read + u' ' + m_message;
        }
        cause = tr("Der Systemdienst „crontab“ wurde unerwartet beendet.");
        break;
    case Kind::timedOut:
        cause = tr("Das Programm crontab hat nicht rechtzeitig geantwortet.");
        break;
    case Kind::outputTooLarge:
        cause = tr("Die Ausgabe von „crontab“ ist größer als %1 MiB und wurde nicht gelesen.")
                    .arg(outputLimit / (1024 * 1024));
        break;
    }

    switch (m_writeCheck) {
    case WriteCheck::none:
        return cause;
    case WriteCheck::notInPlace:
        return cause + u' ' + tr("Die neue crontab wurde nicht übernommen.");
    case WriteCheck::failed:
        return cause + u' ' +
               tr("Ob die neue crontab übernommen wurde, ließ sich nicht prüfen. Bitte neu "
                  "laden und prüfen.");
    }
    Q_UNREACHABLE();
}

} // namespace Tempolane
