#include "ExecutionLogPolicy.h"

#include "TextContext.h"

#include <QCoreApplication>

TEMPOLANE_TEXT_CONTEXT(ExecutionLogPolicy)

namespace Tempolane {

QString rawValue(ExecutionLogPolicy policy)
{
    switch (policy) {
    case ExecutionLogPolicy::messagesAndErrors:
        return QStringLiteral("all");
    case ExecutionLogPolicy::errorsOnly:
        return QStringLiteral("errors");
    case ExecutionLogPolicy::none:
        return QStringLiteral("none");
    }
    Q_UNREACHABLE();
}

QString title(ExecutionLogPolicy policy)
{
    switch (policy) {
    case ExecutionLogPolicy::messagesAndErrors:
        return tr("Meldungen und Fehler anzeigen");
    case ExecutionLogPolicy::errorsOnly:
        return tr("Nur Fehler anzeigen");
    case ExecutionLogPolicy::none:
        return tr("Keine Meldungen aufzeichnen");
    }
    Q_UNREACHABLE();
}

QString explanation(ExecutionLogPolicy policy)
{
    switch (policy) {
    case ExecutionLogPolicy::messagesAndErrors:
        return tr("Terminalmeldungen und Fehler werden lokal im Verlauf gespeichert.");
    case ExecutionLogPolicy::errorsOnly:
        return tr("Normale Meldungen werden verworfen; Fehlermeldungen bleiben sichtbar.");
    case ExecutionLogPolicy::none:
        return tr("Nur Zeitpunkt, Dauer und Ergebnis werden gespeichert.");
    }
    Q_UNREACHABLE();
}

std::optional<ExecutionLogPolicy> executionLogPolicyFromRawValue(QStringView raw)
{
    for (const auto policy : allExecutionLogPolicies) {
        if (raw == rawValue(policy))
            return policy;
    }
    return std::nullopt;
}

} // namespace Tempolane
