#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace Tempolane {

// What the job list and the status block show of a failed run's output: its last line that
// holds more than spaces and tabs, trimmed of them and cut to its first 220 characters;
// nothing when there is none. Lines end at line feeds, carriage returns, vertical tabs, form
// feeds, next-line characters and the Unicode line and paragraph separators.
std::optional<QString> lastMeaningfulLine(QStringView output);

} // namespace Tempolane
