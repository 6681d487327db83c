#include "Notification.h"

#include "CrontabText.h"
#include "DateTimeText.h"
#include "TextContext.h"

#include <QCoreApplication>
#include <QStringList>

TEMPOLANE_TEXT_CONTEXT(Notification)

namespace Tempolane {

namespace {

// A job's name or output with its control characters written as escapes, as the terminal
// companion shows them: a service or a terminal that shows the text raw cannot be steered.
QString shown(const QString& text)
{
    return CrontabText::printable(text, CrontabText::Tabs::kept);
}

} // namespace

Notification notificationOf(const RunEvent& event, const QTimeZone& zone)
{
    Notification notification;
    notification.jobId = event.jobId;
    switch (event.kind) {
    case RunEvent::Kind::failed: {
        notification.summary = tr("„%1“ ist fehlgeschlagen").arg(shown(event.jobName));
        QStringList lines(tr("Exit-Status %1").arg(event.exitCode));
        if (event.lastLine)
            lines.append(shown(*event.lastLine));
        notification.body = lines.join(u'\n');
        notification.isCritical = true;
        break;
    }
    case RunEvent::Kind::interrupted:
        notification.summary = tr("„%1“ wurde unerwartet beendet").arg(shown(event.jobName));
        notification.body = tr("Die Ausführung hat kein Ende aufgezeichnet.");
        break;
    case RunEvent::Kind::missed:
        notification.summary = tr("„%1“ wurde nicht ausgeführt").arg(shown(event.jobName));
        notification.body =
            tr("Fällig war: %1").arg(DateTimeText::shortDateTime(event.dueAt, QLocale(), zone));
        break;
    }
    return notification;
}

Notification summaryOf(const QList<RunEvent>& events)
{
    Notification notification;
    notification.summary = tr.plural("one {# Cronjob braucht Aufmerksamkeit} other {# Cronjobs brauchen Aufmerksamkeit}",
        events.size());
    QStringList names;
    for (const RunEvent& event : events) {
        names.append(tr("„%1“").arg(shown(event.jobName)));
        notification.isCritical = notification.isCritical || event.kind == RunEvent::Kind::failed;
    }
    notification.body = names.join(QStringLiteral(", "));
    return notification;
}

} // namespace Tempolane
