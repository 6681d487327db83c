#pragma once

#include "NextExecutionSearch.h"

#include <QList>
#include <QString>
#include <cstdint>

namespace Tempolane {

// Runs of a schedule as a picture at some scale shows them: one run, or a band of runs that
// follow each other too closely to be told apart. Instants in milliseconds since 1970.
struct RunSpan
{
    std::int64_t first;
    std::int64_t last;
    std::int64_t count = 1;

    bool isBand() const { return count > 1; }
    // The mean time from one run of the band to the next.
    std::int64_t meanInterval() const { return count > 1 ? (last - first) / (count - 1) : 0; }

    friend bool operator==(const RunSpan&, const RunSpan&) = default;
};

namespace RunSpans {

// The first run at or after the instant.
std::optional<std::int64_t> firstAtOrAfter(const NextExecutionSearch& search, std::int64_t instant);

// The runs from `from` (included) to `until` (excluded) in time order. Runs at most `bandGap`
// apart make one band; a band is found without stepping through each of its runs where the
// schedule allows, so a job that runs every minute costs about as much as an hourly one.
QList<RunSpan> between(const NextExecutionSearch& search, std::int64_t from, std::int64_t until,
                       std::int64_t bandGap);

// "jede Minute", "alle 5 Minuten", "stündlich", "alle 2 Stunden"; "etwa alle 20 Minuten" where
// the band's runs are not evenly spaced.
QString rateText(const RunSpan& band);

} // namespace RunSpans

} // namespace Tempolane
