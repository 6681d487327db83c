#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace Tempolane {

// The job list's filter, in the order of the sidebar.
enum class JobFilter
{
    all,
    active,
    paused,
    failed,
    // Jobs with an error or a warning of the checks (CronStore::jobProblems).
    problems
};

inline constexpr std::array<JobFilter, 5> allJobFilters{
    JobFilter::all, JobFilter::active, JobFilter::paused, JobFilter::failed, JobFilter::problems};

QString rawValue(JobFilter filter);
QString title(JobFilter filter);
// Exactly one of the raw values, case-sensitive.
std::optional<JobFilter> jobFilterFromRawValue(QStringView rawValue);

} // namespace Tempolane
