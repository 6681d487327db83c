#include "LocaleFormat.h"

#include <QHash>
#include <functional>
#include <memory>
#include <unicode/dtptngen.h>
#include <unicode/rbnf.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

namespace Tempolane::LocaleFormat {

namespace {

QString fromIcu(const icu::UnicodeString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

icu::UnicodeString toIcu(const QString& text)
{
    return icu::UnicodeString(reinterpret_cast<const UChar*>(text.utf16()), int32_t(text.size()));
}

icu::Locale icuLocale(const QLocale& locale)
{
    return icu::Locale(locale.name().toLatin1().constData());
}

// Building an ICU format costs far more than using one, and views ask for the same again and
// again.
template <typename Format>
Format* cached(const QString& key, const std::function<std::unique_ptr<Format>()>& make)
{
    thread_local QHash<QString, std::shared_ptr<Format>> formats;
    auto found = formats.find(key);
    if (found == formats.end())
        found = formats.insert(key, make());
    return found->get();
}

icu::SimpleDateFormat* dateFormat(const char16_t* skeleton, const QLocale& locale,
                                  const QTimeZone& zone)
{
    const QString key =
        QString::fromUtf16(skeleton) + u'|' + locale.name() + u'|' + QString::fromLatin1(zone.id());
    return cached<icu::SimpleDateFormat>(key, [&]() -> std::unique_ptr<icu::SimpleDateFormat> {
        UErrorCode status = U_ZERO_ERROR;
        const std::unique_ptr<icu::DateTimePatternGenerator> generator(
            icu::DateTimePatternGenerator::createInstance(icuLocale(locale), status));
        if (U_FAILURE(status))
            return nullptr;
        const icu::UnicodeString pattern = generator->getBestPattern(skeleton, status);
        auto format = std::make_unique<icu::SimpleDateFormat>(pattern, icuLocale(locale), status);
        if (U_FAILURE(status))
            return nullptr;
        format->adoptTimeZone(icu::TimeZone::createTimeZone(toIcu(QString::fromLatin1(zone.id()))));
        return format;
    });
}

} // namespace

QString dateTime(const char16_t* skeleton, const QDateTime& instant, const QLocale& locale,
                 const QTimeZone& zone)
{
    icu::SimpleDateFormat* format = dateFormat(skeleton, locale, zone);
    if (!format)
        return locale.toString(instant.toTimeZone(zone), QLocale::ShortFormat);
    icu::UnicodeString text;
    format->format(UDate(instant.toMSecsSinceEpoch()), text);
    return fromIcu(text);
}

QString timeOfDay(int hour, int minute, const QLocale& locale)
{
    const QTimeZone utc = QTimeZone::utc();
    return dateTime(u"jmm", QDateTime(QDate(2000, 1, 1), QTime(hour, minute), utc), locale, utc);
}

QString ordinal(int number, const QLocale& locale)
{
    icu::RuleBasedNumberFormat* format = cached<icu::RuleBasedNumberFormat>(
        locale.name(), [&]() -> std::unique_ptr<icu::RuleBasedNumberFormat> {
            UErrorCode status = U_ZERO_ERROR;
            auto made = std::make_unique<icu::RuleBasedNumberFormat>(icu::URBNF_ORDINAL,
                                                                     icuLocale(locale), status);
            return U_SUCCESS(status) ? std::move(made) : nullptr;
        });
    if (!format)
        return locale.toString(number);
    icu::UnicodeString text;
    format->format(int32_t(number), text);
    return fromIcu(text);
}

} // namespace Tempolane::LocaleFormat
