#include "RunSpans.h"

#include "TextContext.h"

TEMPOLANE_TEXT_CONTEXT(Timeline)

namespace Tempolane::RunSpans {

namespace {

constexpr std::int64_t minute = 60'000;

} // namespace

std::optional<std::int64_t> firstAtOrAfter(const NextExecutionSearch& search, std::int64_t instant)
{
    // The search answers strictly after the minute of its reference.
    return search.next(instant - 1);
}

QList<RunSpan> between(const NextExecutionSearch& search, std::int64_t from, std::int64_t until,
                       std::int64_t bandGap)
{
    QList<RunSpan> spans;
    const auto within = [until](const std::optional<std::int64_t>& run) {
        return run && *run < until;
    };
    std::optional<std::int64_t> run = firstAtOrAfter(search, from);
    while (within(run)) {
        const std::int64_t first = *run;
        std::int64_t last = first;
        run = search.next(last);
        while (within(run) && *run - last <= bandGap) {
            // Where the schedule has a run exactly one gap ahead, every run between is at most
            // a gap from the one before: the band reaches that far without visiting them.
            std::optional<std::int64_t> ahead = firstAtOrAfter(search, *run + bandGap);
            while (within(ahead) && *ahead == *run + bandGap) {
                run = ahead;
                ahead = firstAtOrAfter(search, *run + bandGap);
            }
            last = *run;
            run = search.next(last);
        }
        spans.append({first, last, last == first ? 1 : search.count(first, last + 1)});
    }
    return spans;
}

QString rateText(const RunSpan& band)
{
    const std::int64_t interval = band.meanInterval();
    const bool isEven =
        interval % minute == 0 && band.first + interval * (band.count - 1) == band.last;
    const std::int64_t minutes = (interval + minute / 2) / minute;
    if (minutes >= 60 && minutes % 60 == 0 && isEven)
        return tr.plural("one {stündlich} other {alle # Stunden}", minutes / 60);
    if (isEven)
        return tr.plural("one {jede Minute} other {alle # Minuten}", minutes);
    if (minutes >= 60 && minutes % 60 == 0)
        return tr.plural("one {etwa stündlich} other {etwa alle # Stunden}", minutes / 60);
    return tr.plural("one {etwa jede Minute} other {etwa alle # Minuten}",
                      std::max<std::int64_t>(minutes, 1));
}

} // namespace Tempolane::RunSpans
