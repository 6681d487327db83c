#include "ExecutionTexts.h"

#include <QCoreApplication>
#include <cmath>

namespace Tempolane::ExecutionTexts {

QString durationText(double seconds)
{
    constexpr qint64 minute = 60;
    seconds = std::max(seconds, 0.0);
    if (seconds < minute) {
        return QCoreApplication::translate("ExecutionEditor", "%1 Sek.")
            .arg(qint64(std::round(seconds)));
    }
    const auto whole = qint64(seconds);
    return QCoreApplication::translate("ExecutionEditor", "%1 Min. %2 Sek.")
        .arg(whole / minute)
        .arg(whole % minute);
}

} // namespace Tempolane::ExecutionTexts
