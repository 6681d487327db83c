#pragma once

#include "CronJob.h"

#include <QString>
#include <optional>

namespace Tempolane::JobDraftRules {

// Each gives the one message the form shows, or nothing; the text is judged trimmed of blanks
// and line breaks, as it will be saved.
std::optional<QString> nameMessage(const QString& name);
// A monitored command is wrapped in a call of the runner at `quotedRunner`, which must fit.
std::optional<QString> commandMessage(const QString& command, bool isMonitoringEnabled,
                                      QStringView quotedRunner);

// Why the command cannot run monitored, or nothing.
std::optional<QString> monitoringIssue(const QString& command, QStringView quotedRunner);

// What save hands on: name, schedule and command trimmed at both ends.
CronJob trimmedForSaving(CronJob job);

QString title(const CronJob& draft, bool isNew);

} // namespace Tempolane::JobDraftRules
