#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace Tempolane {

// A next run computed for one expression after one reference time.
struct NextExecutionCacheEntry
{
    QString expression;
    QDateTime reference;
    std::optional<QDateTime> date;

    friend bool operator==(const NextExecutionCacheEntry&,
                           const NextExecutionCacheEntry&) = default;
};

} // namespace Tempolane
