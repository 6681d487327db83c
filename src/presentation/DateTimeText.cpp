#include "DateTimeText.h"

#include "LocaleFormat.h"

#include <QHash>
#include <memory>
#include <unicode/reldatefmt.h>

namespace Tempolane::DateTimeText {

namespace {

QString fromIcu(const icu::UnicodeString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

// Building a formatter costs far more than formatting; views ask for the same one again and
// again, from the main thread.
icu::RelativeDateTimeFormatter* relativeFormatter(const QLocale& locale)
{
    thread_local QHash<QString, std::shared_ptr<icu::RelativeDateTimeFormatter>> formatters;
    auto found = formatters.find(locale.name());
    if (found == formatters.end()) {
        UErrorCode status = U_ZERO_ERROR;
        auto made = std::make_shared<icu::RelativeDateTimeFormatter>(
            icu::Locale(locale.name().toLatin1().constData()), nullptr, UDAT_STYLE_LONG,
            UDISPCTX_CAPITALIZATION_NONE, status);
        found = formatters.insert(locale.name(), U_SUCCESS(status) ? made : nullptr);
    }
    return found->get();
}

struct Span
{
    qint64 count;
    URelativeDateTimeUnit unit;
};

constexpr qint64 minute = 60;
constexpr qint64 hour = 60 * minute;
constexpr qint64 day = 24 * hour;
constexpr qint64 week = 7 * day;
constexpr qint64 month = 30 * day;
constexpr qint64 year = 365 * day;

Span largestFittingUnit(qint64 seconds)
{
    if (seconds < minute)
        return {seconds, UDAT_REL_UNIT_SECOND};
    if (seconds < hour)
        return {seconds / minute, UDAT_REL_UNIT_MINUTE};
    if (seconds < day)
        return {seconds / hour, UDAT_REL_UNIT_HOUR};
    if (seconds < week)
        return {seconds / day, UDAT_REL_UNIT_DAY};
    if (seconds < month)
        return {seconds / week, UDAT_REL_UNIT_WEEK};
    if (seconds < year)
        return {seconds / month, UDAT_REL_UNIT_MONTH};
    return {seconds / year, UDAT_REL_UNIT_YEAR};
}

} // namespace

QString shortDateTime(const QDateTime& instant, const QLocale& locale, const QTimeZone& zone)
{
    return LocaleFormat::dateTime(u"dMMMjmm", instant, locale, zone);
}

QString timeOfDay(const QDateTime& instant, const QLocale& locale, const QTimeZone& zone)
{
    return LocaleFormat::dateTime(u"jmm", instant, locale, zone);
}

QString weekdayAndDay(const QDateTime& instant, const QLocale& locale, const QTimeZone& zone)
{
    return LocaleFormat::dateTime(u"EEEd", instant, locale, zone);
}

QString dateTimeWithSeconds(const QDateTime& instant, const QLocale& locale, const QTimeZone& zone)
{
    return LocaleFormat::dateTime(u"yMMMdjmmss", instant, locale, zone);
}

QString relativeTime(const QDateTime& instant, const QDateTime& now, const QLocale& locale)
{
    icu::RelativeDateTimeFormatter* formatter = relativeFormatter(locale);
    const qint64 elapsed = now.secsTo(instant);
    const Span span = largestFittingUnit(std::abs(elapsed));
    const double offset = double(elapsed < 0 ? -span.count : span.count);
    if (!formatter)
        return QString::number(offset);
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString text;
    // Seconds give "jetzt" at zero and days give "gestern" and "vorgestern" (English "now",
    // "yesterday"): the named forms.
    // Other units stay numeric, so a week ago reads "vor 1 Woche", not "letzte Woche".
    if (span.unit == UDAT_REL_UNIT_SECOND && span.count == 0)
        formatter->format(0.0, UDAT_REL_UNIT_SECOND, text, status);
    else if (span.unit == UDAT_REL_UNIT_DAY)
        formatter->format(offset, UDAT_REL_UNIT_DAY, text, status);
    else
        formatter->formatNumeric(offset, span.unit, text, status);
    return fromIcu(text);
}

} // namespace Tempolane::DateTimeText
