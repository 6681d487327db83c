#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace Tempolane::ExecutionTexts {

inline constexpr qsizetype maximumDetailLength = 220;

// "42 Sek." below a minute (rounded, halves up), else whole minutes and seconds with the
// fraction dropped ("2 Min. 5 Sek."); there is no hour unit. Below zero reads as zero.
QString durationText(double seconds);

// The last line of an output that holds more than spaces and tabs, trimmed of them and cut to
// its first 220 characters; nothing when there is none. Every Unicode line break ends a line.
// Read from the end, so a long output costs only its tail.
std::optional<QString> lastMeaningfulLine(QStringView output);

} // namespace Tempolane::ExecutionTexts
