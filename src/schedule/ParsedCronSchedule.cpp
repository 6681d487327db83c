#include "ParsedCronSchedule.h"

namespace Tempolane {

QList<int> CronValueSet::values() const
{
    QList<int> result;
    for (int value = 0; value < capacity; ++value) {
        if (contains(value))
            result.append(value);
    }
    return result;
}

} // namespace Tempolane
