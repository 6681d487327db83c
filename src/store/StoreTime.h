#pragma once

#include "Clock.h"

#include <QTimeZone>
#include <functional>

namespace Tempolane {

// Where the store takes "now" and the user's time zone from; tests fix both.
struct StoreTime
{
    Clock now = systemClock();
    std::function<QTimeZone()> zone = [] { return QTimeZone::systemTimeZone(); };
};

} // namespace Tempolane
