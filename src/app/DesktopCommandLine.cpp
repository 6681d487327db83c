#include "DesktopCommandLine.h"

#include "CanonicalUuid.h"
#include "CrontabText.h"
#include "TextContext.h"

#include <QCoreApplication>

TEMPOLANE_TEXT_CONTEXT(DesktopCommandLine)

namespace Tempolane {

namespace {

struct Options
{
    QCommandLineOption help;
    QCommandLineOption version;
    QCommandLineOption background;
    QCommandLineOption job;
};

// The options with their texts as they read now: the arguments are parsed before the language
// is chosen, the help is printed after.
Options options()
{
    return {{{QStringLiteral("h"), QStringLiteral("help")}, tr("Zeigt diese Hilfe.")},
            {{QStringLiteral("v"), QStringLiteral("version")}, tr("Zeigt die Version.")},
            {QStringLiteral("background"),
             tr("Meldet ohne Fenster fehlgeschlagene, abgebrochene und verpasste Cronjobs "
                "als Benachrichtigung.")},
            {QStringLiteral("job"), tr("Zeigt den Cronjob mit dieser ID."), QStringLiteral("ID")}};
}

void describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        tr("Tempolane zeigt und bearbeitet die Cronjobs deiner persönlichen crontab. "
           "Mit TEMPOLANE_DEMO=1 öffnet es Beispieldaten statt der echten crontab."));
    const Options made = options();
    parser.addOptions({made.help, made.version, made.background, made.job});
}

} // namespace

DesktopCommandLine::DesktopCommandLine()
    : m_help(options().help), m_version(options().version), m_background(options().background),
      m_job(options().job)
{
    describe(m_parser);
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
        QCommandLineParser described;
        describe(described);
        out << described.helpText() << Qt::flush;
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
            err << tr("Keine gültige Cronjob-ID: %1")
                       .arg(CrontabText::printable(m_parser.value(m_job)))
                << Qt::endl;
            return Outcome::exitWithUsageError;
        }
        m_jobToShow = *id;
    }
    return Outcome::openWindow;
}

} // namespace Tempolane
