#pragma once

#include "ParsedCronSchedule.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace Tempolane::CronExpression {

// The @-shortcuts cron understands, lower case.
const QStringList& supportedShortcuts();

// Nothing when the text may be stored as a schedule, else the one German message to show.
std::optional<QString> validationMessage(QStringView expression);

// The five-field form of a shortcut, nothing for "@reboot", the text unchanged otherwise.
std::optional<QString> expandedShortcut(const QString& expression);

// Lenient: meant for validated text. Nothing when the text has no time-based schedule.
std::optional<ParsedCronSchedule> parse(const QString& expression);

} // namespace Tempolane::CronExpression
