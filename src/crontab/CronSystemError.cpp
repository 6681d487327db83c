#include "CronSystemError.h"

#include "TextContext.h"

#include <QCoreApplication>

TEMPOLANE_TEXT_CONTEXT(CronSystemError)

namespace Tempolane {

// Where the tool refused, its own words alone, as the terminal shows them; a read it broke off
// names the cause and then what it said.
QString CronSystemError::description() const
{
    if (m_message.isEmpty())
        return summary();
    if (m_kind == Kind::commandFailed)
        return m_message;
    if (m_kind == Kind::terminated && m_writeCheck == WriteCheck::none)
        return summary() + u' ' + m_message;
    return summary();
}

QString CronSystemError::summary() const
{
    QString cause;
    switch (m_kind) {
    case Kind::commandFailed:
        if (!m_message.isEmpty())
            return tr("Das Programm „crontab“ hat einen Fehler gemeldet (Status %1).")
                .arg(m_status);
        return tr("Der Systemdienst „crontab“ konnte die Änderung nicht ausführen.");
    case Kind::invalidOutput:
        return tr("Die Ausgabe von „crontab“ konnte nicht gelesen werden.");
    case Kind::unconfirmedWrite:
        return tr("Die crontab wurde nicht wie gewünscht übernommen: „crontab“ meldet einen "
                  "anderen Inhalt als den gespeicherten. Bitte neu laden und prüfen.");
    case Kind::terminated:
        if (m_writeCheck == WriteCheck::none)
            return tr(
                "Die crontab konnte nicht gelesen werden: „crontab“ wurde unerwartet beendet.");
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
