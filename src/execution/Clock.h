#pragma once

#include <QDateTime>
#include <functional>

namespace Tempolane {

// "Now" as an object, so that logic depending on the time can be tested with a fixed one.
using Clock = std::function<QDateTime()>;

inline Clock systemClock()
{
    return [] { return QDateTime::currentDateTimeUtc(); };
}

} // namespace Tempolane
