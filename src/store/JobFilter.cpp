#include "JobFilter.h"

#include <QCoreApplication>

namespace Tempolane {

QString rawValue(JobFilter filter)
{
    switch (filter) {
    case JobFilter::all:
        return QStringLiteral("all");
    case JobFilter::active:
        return QStringLiteral("active");
    case JobFilter::paused:
        return QStringLiteral("paused");
    case JobFilter::failed:
        return QStringLiteral("failed");
    case JobFilter::problems:
        return QStringLiteral("problems");
    }
    Q_UNREACHABLE();
}

QString title(JobFilter filter)
{
    switch (filter) {
    case JobFilter::all:
        return QCoreApplication::translate("JobFilter", "Alle Jobs");
    case JobFilter::active:
        return QCoreApplication::translate("JobFilter", "Aktiv");
    case JobFilter::paused:
        return QCoreApplication::translate("JobFilter", "Pausiert");
    case JobFilter::failed:
        return QCoreApplication::translate("JobFilter", "Fehler");
    case JobFilter::problems:
        return QCoreApplication::translate("JobFilter", "Probleme");
    }
    Q_UNREACHABLE();
}

std::optional<JobFilter> jobFilterFromRawValue(QStringView raw)
{
    for (const auto filter : allJobFilters) {
        if (raw == rawValue(filter))
            return filter;
    }
    return std::nullopt;
}

} // namespace Tempolane
