#include "DesktopCommandLine.h"

#include "CanonicalUuid.h"
#include "CrontabText.h"
#include "TextContext.h"

#include <QCoreApplication>

TEMPOLANE_TEXT_CONTEXT(DesktopCommandLine)

namespace Tempolane {

DesktopCommandLine::DesktopCommandLine()
    : m_help({QStringLiteral("h"), QStringLiteral("help")}, tr("Zeigt diese Hilfe.")),
      m_version({QStringLiteral("v"), QStringLiteral("version")}, tr("Zeigt die Version.")),
      m_background(QStringLiteral("background"),
                   tr("Meldet ohne Fenster fehlgeschlagene, abgebrochene und verpasste Cronjobs "
                      "als Benachrichtigung.")),
      m_job(QStringLiteral("job"), tr("Zeigt den Cronjob mit dieser ID."), QStringLiteral("ID"))
{
    m_parser.setApplicationDescription(
        tr("Tempolane zeigt und bearbeitet die Cronjobs deiner persönlichen crontab. "
           "Mit TEMPOLANE_DEMO=1 öffnet es Beispieldaten statt der echten crontab."));
    m_parser.addOption(m_help);
    m_parser.addOption(m_version);
    m_parser.addOption(m_background);
    m_parser.addOption(m_job);
}

bool DesktopCommandLine::asksForTextOnly(const QStringList& arguments)
{
    return m_parser.parse(arguments) && (m_parser.isSet(m_help) || m_parser.isSet(m_version));
}

bool DesktopCommandLine::asksForBackground(const QStringList& arguments)
{
    return m_parser.parse(arguments) && m_parser.isSet(m_background) &&
           m_parser.positionalArguments().isEmpty();
}

DesktopCommandLine::Outcome DesktopCommandLine::handle(const QStringList& arguments,
                                                       QTextStream& out, QTextStream& err)
{
    if (!m_parser.parse(arguments)) {
        err << CrontabText::printable(m_parser.errorText()) << u'\n'
            << tr("Mehr dazu: tempolane --help") << Qt::endl;
        return Outcome::exitWithUsageError;
    }
    if (!m_parser.positionalArguments().isEmpty()) {
        err << tr("Tempolane erwartet keine weiteren Argumente: %1")
                   .arg(CrontabText::printable(m_parser.positionalArguments().join(u' ')))
            << Qt::endl;
        return Outcome::exitWithUsageError;
    }
    if (m_parser.isSet(m_help)) {
        out << m_parser.helpText() << Qt::flush;
        return Outcome::exitSuccessfully;
    }
    if (m_parser.isSet(m_version)) {
        out << QStringLiteral("tempolane %1").arg(QCoreApplication::applicationVersion())
            << Qt::endl;
        return Outcome::exitSuccessfully;
    }
    if (m_parser.isSet(m_job)) {
        const auto id = parseCanonicalUuid(m_parser.value(m_job));
        if (!id) {
            err << tr("Keine gültige Cronjob-ID: %1").arg(m_parser.value(m_job)) << Qt::endl;
            return Outcome::exitWithUsageError;
        }
        m_jobToShow = *id;
    }
    return Outcome::openWindow;
}

} // namespace Tempolane
