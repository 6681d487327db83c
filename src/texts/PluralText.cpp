#include "PluralText.h"

#include <memory>
#include <unicode/fieldpos.h>
#include <unicode/fmtable.h>
#include <unicode/locid.h>
#include <unicode/plurfmt.h>
#include <unicode/plurrule.h>
#include <unicode/unistr.h>

namespace Tempolane {

namespace {

// The texts are German whatever the user's locale, so their plural forms follow German rules.
const icu::PluralRules* germanRules()
{
    thread_local const std::unique_ptr<icu::PluralRules> rules = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::PluralRules> made(
            icu::PluralRules::forLocale(icu::Locale::getGerman(), status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return rules.get();
}

} // namespace

QString pluralText(const TextContext& texts, const char* pattern, qint64 count,
                   const QLocale& locale)
{
    const QString translated = texts(pattern);
    const icu::PluralRules* rules = germanRules();
    if (rules) {
        UErrorCode status = U_ZERO_ERROR;
        const icu::UnicodeString icuPattern(reinterpret_cast<const UChar*>(translated.utf16()),
                                            int32_t(translated.size()));
        const icu::PluralFormat format(icu::Locale(locale.name().toLatin1().constData()), *rules,
                                       icuPattern, status);
        icu::UnicodeString text;
        if (U_SUCCESS(status)) {
            icu::FieldPosition unused;
            format.format(icu::Formattable(int64_t(count)), text, unused, status);
            if (U_SUCCESS(status))
                return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
        }
    }
    // A pattern ICU cannot read still says how many.
    return locale.toString(count);
}

} // namespace Tempolane
