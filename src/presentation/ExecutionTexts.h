#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace Tempolane::ExecutionTexts {

// "42 Sek." below a minute (rounded, halves up), else whole minutes and seconds with the
// fraction dropped ("2 Min. 5 Sek."); there is no hour unit. Below zero reads as zero.
QString durationText(double seconds);

} // namespace Tempolane::ExecutionTexts
