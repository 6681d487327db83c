#pragma once

#include "RunEvent.h"

#include <QList>
#include <QString>
#include <QTimeZone>
#include <QUuid>

namespace Tempolane {

// One desktop notification as the watcher sends it.
struct Notification
{
    QString summary;
    // Plain text; the sender escapes it for services that read markup.
    QString body;
    bool isCritical = false;
    // The job "Anzeigen" opens; none for a summary of several jobs.
    QUuid jobId;

    friend bool operator==(const Notification&, const Notification&) = default;
};

// "„NAME“ ist fehlgeschlagen" with the exit status and the output's last meaningful line,
// "„NAME“ wurde unerwartet beendet", "„NAME“ wurde nicht ausgeführt" with the time it was due.
Notification notificationOf(const RunEvent& event,
                            const QTimeZone& zone = QTimeZone::systemTimeZone());

// "N Cronjobs brauchen Aufmerksamkeit", naming the jobs; one event per job.
Notification summaryOf(const QList<RunEvent>& events);

} // namespace Tempolane
