#include "DateTimeText.h"

#include <QHash>
#include <memory>
#include <unicode/dtptngen.h>
#include <unicode/reldatefmt.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

namespace Tempolane::DateTimeText {

namespace {

QString fromIcu(const icu::UnicodeString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

icu::UnicodeString toIcu(const QString& text)
{
    return icu::UnicodeString(reinterpret_cast<const UChar*>(text.utf16()), int32_t(text.size()));
}

std::unique_ptr<icu::SimpleDateFormat> makeFormat(const char16_t* skeleton, const QLocale& locale,
                                                  const QTimeZone& zone)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale icuLocale(locale.name().toLatin1().constData());
    const std::unique_ptr<icu::DateTimePatternGenerator> generator(
        icu::DateTimePatternGenerator::createInstance(icuLocale, status));
    if (U_FAILURE(status))
        return nullptr;
    const icu::UnicodeString pattern = generator->getBestPattern(skeleton, status);
    auto format = std::make_unique<icu::SimpleDateFormat>(pattern, icuLocale, status);
    if (U_FAILURE(status))
        return nullptr;
    format->adoptTimeZone(icu::TimeZone::createTimeZone(toIcu(QString::fromLatin1(zone.id()))));
    return format;
}

// Building a formatter costs far more than formatting; views ask for the same pair again and
// again, from the main thread.
icu::SimpleDateFormat* format(const char16_t* skeleton, const QLocale& locale,
                              const QTimeZone& zone)
{
    thread_local QHash<QString, std::shared_ptr<icu::SimpleDateFormat>> formats;
    const QString key =
        QString::fromUtf16(skeleton) + u'|' + locale.name() + u'|' + QString::fromLatin1(zone.id());
    auto found = formats.find(key);
    if (found == formats.end())
        found = formats.insert(key, makeFormat(skeleton, locale, zone));
    return found->get();
}

QString formatted(const char16_t* skeleton, const QDateTime& instant, const QLocale& locale,
                  const QTimeZone& zone, QLocale::FormatType fallback)
{
    icu::SimpleDateFormat* icuFormat = format(skeleton, locale, zone);
    if (!icuFormat)
        return QLocale(locale).toString(instant.toTimeZone(zone), fallback);
    icu::UnicodeString text;
    icuFormat->format(UDate(instant.toMSecsSinceEpoch()), text);
    return fromIcu(text);
}

icu::RelativeDateTimeFormatter* germanRelativeFormatter()
{
    thread_local std::unique_ptr<icu::RelativeDateTimeFormatter> formatter = [] {
        UErrorCode status = U_ZERO_ERROR;
        auto made = std::make_unique<icu::RelativeDateTimeFormatter>(
            icu::Locale::getGerman(), nullptr, UDAT_STYLE_LONG, UDISPCTX_CAPITALIZATION_NONE,
            status);
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return formatter.get();
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
    return formatted(u"dMMMjmm", instant, locale, zone, QLocale::ShortFormat);
}

QString timeOfDay(const QDateTime& instant, const QLocale& locale, const QTimeZone& zone)
{
    return formatted(u"jmm", instant, locale, zone, QLocale::ShortFormat);
}

QString weekdayAndDay(const QDateTime& instant, const QLocale& locale, const QTimeZone& zone)
{
    return formatted(u"EEEd", instant, locale, zone, QLocale::ShortFormat);
}

QString dateTimeWithSeconds(const QDateTime& instant, const QLocale& locale, const QTimeZone& zone)
{
    return formatted(u"yMMMdjmmss", instant, locale, zone, QLocale::LongFormat);
}

QString relativeTime(const QDateTime& instant, const QDateTime& now)
{
    icu::RelativeDateTimeFormatter* formatter = germanRelativeFormatter();
    const qint64 elapsed = now.secsTo(instant);
    const Span span = largestFittingUnit(std::abs(elapsed));
    const double offset = double(elapsed < 0 ? -span.count : span.count);
    if (!formatter)
        return QString::number(offset);
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString text;
    // Seconds give "jetzt" at zero and days give "gestern" and "vorgestern": the named forms.
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
