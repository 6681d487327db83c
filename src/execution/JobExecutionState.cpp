#include "JobExecutionState.h"

#include "TextContext.h"

#include <QCoreApplication>

TEMPOLANE_TEXT_CONTEXT(JobExecutionState)

namespace Tempolane {

QString rawValue(JobExecutionState::Kind kind)
{
    switch (kind) {
    case JobExecutionState::Kind::failed:
        return QStringLiteral("failed");
    case JobExecutionState::Kind::notMonitored:
        return QStringLiteral("notMonitored");
    case JobExecutionState::Kind::waiting:
        return QStringLiteral("waiting");
    case JobExecutionState::Kind::running:
        return QStringLiteral("running");
    case JobExecutionState::Kind::succeeded:
        return QStringLiteral("succeeded");
    case JobExecutionState::Kind::interrupted:
        return QStringLiteral("interrupted");
    case JobExecutionState::Kind::notObserved:
        return QStringLiteral("notObserved");
    }
    Q_UNREACHABLE();
}

QString title(const JobExecutionState& state)
{
    switch (state.kind()) {
    case JobExecutionState::Kind::failed:
        return tr("Fehler bei der letzten Ausführung");
    case JobExecutionState::Kind::notMonitored:
        return tr("Ausführungsstatus nicht aktiviert");
    case JobExecutionState::Kind::waiting:
        return tr("Wartet auf die erste Ausführung");
    case JobExecutionState::Kind::running:
        return tr("Wird gerade ausgeführt");
    case JobExecutionState::Kind::succeeded:
        return tr("Letzte Ausführung erfolgreich");
    case JobExecutionState::Kind::interrupted:
        return tr("Ausführung wurde unerwartet beendet");
    case JobExecutionState::Kind::notObserved:
        return tr("Geplante Ausführung nicht erkannt");
    }
    Q_UNREACHABLE();
}

} // namespace Tempolane
